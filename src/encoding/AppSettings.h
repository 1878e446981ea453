#pragma once

#include <string>

class CProfile;

// The process-wide settings record: encoding options, output naming, playlist choice
// and the tag defaults that new tracks copy. Lives in the window thread; the encode
// worker reads only the playlist fields and the directories.
class CAppSettings {
public:
    // Defaults; `strHomeDir` stands for the directory both folder settings start at.
    explicit CAppSettings(const std::string& strHomeDir = "/");

    // Reads every persisted key; missing keys leave the constructed defaults.
    void LoadSettings(const CProfile& profile);
    // Writes every persisted key, in one save of the profile file.
    bool SaveSettings(CProfile& profile) const;

    std::string m_strWavExt = ".wav";
    bool m_bUseId3Tag = true;
    std::string m_strMp3Ext = ".mp3";
    unsigned m_nSampleRate = 44100;
    unsigned m_nChannelMode = 2;
    unsigned m_nBitrate = 160;
    unsigned m_nMpegVersion = 0;
    unsigned m_bVbr = 0;
    unsigned m_nVbrMinBitrate = 128;
    unsigned m_nVbrMaxBitrate = 160;
    unsigned m_nVbrQuality = 5;
    unsigned m_bPrivate = 0;
    unsigned m_bCrc = 0;
    unsigned m_bCopyright = 0;
    unsigned m_bOriginal = 0;
    std::string m_strArtist;
    std::string m_strAlbum;
    std::string m_strYear;
    std::string m_strComment;
    unsigned m_nGenre = 0;
    unsigned m_nPlaylistType = 1;
    std::string m_strPlaylistFormat = "[year] - [album]";
    // Computed playlist file name without directory; not persisted.
    std::string m_strPlaylistName;
    std::string m_strOutputDir;
    std::string m_strInputDir;
    std::string m_strOutputFileFormat = "[number] - [title]";
    std::string m_strProgramDir;
    bool m_bDelWav = false;
    // Deleted WAV files go to the desktop's trash rather than away for good.
    bool m_bDeleteToTrash = true;
    unsigned m_bSameDir = 0;
    int m_nThreadPriority = 0;
    // Tracks encoded at once; 0 for one per online core.
    unsigned m_nEncodeJobs = 0;
    // Style 0..3 of the [number] token; persisted as Settings/NumberFormatId.
    unsigned m_nNumberStyle = 1;

private:
    void WriteKeys(CProfile& profile) const;
};
