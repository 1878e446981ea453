#pragma once

#include "filelist/TrackList.h"

#include <functional>
#include <string>
#include <vector>

class CAlbumInfo;
class CAppSettings;
class CProfile;
class CStringCatalogue;
class IUserPrompt;

// A file that adding refused, and why: for the Skip Files window and the command line.
struct SSkippedFile {
    std::string m_strPath;
    SWaveRefusal m_refusal;

    bool operator==(const SSkippedFile&) const = default;
};

// The commands on the batch to encode: adding files, check marks, deleting, the source
// and destination directories, totals, and starting a run. Lives in the window thread;
// the desktop list view and the command line drive it alike.
class CFileList {
public:
    CFileList(CTrackList& tracks, CAppSettings& settings, const CProfile& profile);

    CTrackList& Tracks() { return m_tracks; }
    const CTrackList& Tracks() const { return m_tracks; }

    // Open File(s): adds the chosen files; the source directory becomes the last file's.
    void OpenFiles(const std::vector<std::string>& paths);
    // Files and folders dropped onto the list: the files and the WAV files of the folders
    // (with their subfolders' when asked) are added as Open File(s) adds files.
    void AddPaths(const std::vector<std::string>& paths, bool bIncludeSubfolders);
    // Adds every WAV file of the source directory that is not listed yet: one level, or
    // with `bIncludeSubfolders` every subfolder's too. False when the directory could
    // not be read.
    bool Refresh(bool bIncludeSubfolders = false);
    // Open Directory: makes `strDirectory` the source directory and refreshes.
    bool OpenDirectory(const std::string& strDirectory, bool bIncludeSubfolders = false);
    // Files and folders handed to the program (its command line, a file manager's "Open
    // with"), relative ones taken from the current directory: a folder is opened as Open
    // Directory opens it, a file added as Open File(s) adds it. SkippedFiles() then holds
    // what every path refused, a path that does not exist among them. False when a path,
    // a folder or a file could not be read.
    bool OpenPaths(const std::vector<std::string>& paths);
    // A folder chosen in the directory tree becomes the source directory; when it holds
    // WAV files they replace the list, otherwise the list only gains what Refresh finds.
    bool SelectSourceFolder(const std::string& strDirectory, bool bIncludeSubfolders = false);
    // Called after each file an add takes or refuses, so that a window can show the rows
    // so far while a long add runs.
    std::function<void()> m_onFileAdded;

    // Files the last add refused, in the order given; empty while the don't-show flag is set.
    const std::vector<SSkippedFile>& SkippedFiles() const { return m_skippedFiles; }
    bool m_bDontShowSkipped = false;

    void CheckAll();
    void UncheckAll();
    void InvertSelection();
    void DeleteItem(size_t nPosition);
    void DeleteAllItems();
    void ClearStatus();
    // Sorts by a sort key of the track list, renumbers and rebuilds the names.
    void Sort(int nKey, bool bReverse);
    // Pushes the settings into the tracks and rebuilds their names.
    void ApplySettings();

    // When the commands are enabled.
    bool CanCheckAll() const;
    bool CanUncheckAll() const;
    bool CanClearStatus() const;
    bool CanEncode() const;
    bool CanChooseDestination() const;
    bool HasItems() const { return !m_tracks.Empty(); }
    // Play MP3: the track is encoded and its MP3 file can be read.
    bool CanPlayMp3(size_t nPosition) const;

    std::string TotalSizeText(const CStringCatalogue& catalogue) const;
    std::string TotalPlayTimeText(const CStringCatalogue& catalogue) const;

    // An absolute path whose every component is a valid folder name.
    static bool IsValidDestination(const std::string& strPath);
    // Checks the destination directory and creates it after asking; every failure is
    // shown through `prompt`. True when the folder exists afterwards.
    static bool ValidateDestination(const std::string& strPath, IUserPrompt& prompt,
                                    const CStringCatalogue& catalogue);

    // The list as one album to look up, as a CD ripped into these files would be: each
    // track as many CD frames long as its samples last, the first starting after the
    // 150-frame lead-in.
    CAlbumInfo BuildAlbum() const;
    // Takes the chosen album's artist, title and year into the settings and every track,
    // and track i's title into track i; tracks past the album's end get empty titles.
    void ApplyAlbum(const CAlbumInfo& album);

    // Encode: applies the settings, and when a track is checked and the destination and
    // the playlist's folder are there, runs `runEncoding` (the encoding window, or the
    // command line's run).
    bool Encode(IUserPrompt& prompt, const CStringCatalogue& catalogue,
                const std::function<void()>& runEncoding);

private:
    void AddFiles(const std::vector<std::string>& paths);
    // Asks to create `strPath` when it is missing, and creates it.
    static bool EnsureFolder(const std::string& strPath, IUserPrompt& prompt,
                             const CStringCatalogue& catalogue);
    static bool CreateDestination(const std::string& strPath, IUserPrompt& prompt,
                                  const CStringCatalogue& catalogue);

    CTrackList& m_tracks;
    CAppSettings& m_settings;
    const CProfile& m_profile;
    std::vector<SSkippedFile> m_skippedFiles;
};
