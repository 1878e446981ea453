#pragma once

#include "filelist/FileList.h"

#include <ostream>
#include <string>
#include <vector>

class CAppSettings;
class CProfile;
class CStringCatalogue;
class CTrackList;

// `wavsmith-cli list`: fills a track list from files and folders and prints it.
class CListCommand {
public:
    CListCommand(CAppSettings& settings, const CProfile& profile);

    // Adds every path: a WAV file, or the WAV files of a folder (one level, in name
    // order). Refused files are collected with their reasons; paths that do not exist are
    // reported on `errors`. Returns false when any path or file could not be read.
    bool AddPaths(const std::vector<std::string>& paths, CTrackList& tracks, std::ostream& errors);

    // The table of tracks, then the refused files with their reasons, then the two
    // totals lines.
    void PrintList(const CTrackList& tracks, const CStringCatalogue& catalogue,
                   std::ostream& out) const;

    const std::vector<SSkippedFile>& SkippedFiles() const { return m_skippedFiles; }

private:
    CAppSettings& m_settings;
    const CProfile& m_profile;
    std::vector<SSkippedFile> m_skippedFiles;
};
