#pragma once

#include <string>

class CAppSettings;
class CProfile;
class CTrackItem;

// Names the playlist and appends one entry per encoded track: M3U, extended M3U or
// PLS. A playlist is never rewritten from scratch; runs that use the same name add to it.
class CPlaylistWriter {
public:
    // Recomputes `settings.m_strPlaylistName` from the kind, the template and the tag
    // defaults. A name with nothing but separators in it (no album, no year) becomes the
    // source folder's name.
    static void MakePlaylistName(CAppSettings& settings, const CProfile& profile);

    // The folder of the playlist: beside the first track's WAV file when MP3 files go
    // beside their WAV files, where the user looks for them; else the destination.
    static std::string PlaylistDirectory(const CAppSettings& settings,
                                         const std::string& strFirstWavDir);
    static std::string PlaylistPath(const CAppSettings& settings,
                                    const std::string& strFirstWavDir);

    // Adds the entry of `track` to the playlist at `strPath` unless one with the same MP3
    // path is there already, so a batch encoded again is not listed twice. False when the
    // playlist could not be written.
    static bool WritePlaylistEntry(const CTrackItem& track, const CAppSettings& settings,
                                   const std::string& strPath);
};
