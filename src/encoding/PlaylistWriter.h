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
    // defaults.
    static void MakePlaylistName(CAppSettings& settings, const CProfile& profile);

    // The full path of the playlist: the source directory when every track lies in it
    // and MP3 files go beside their WAV files, else the destination directory.
    static std::string PlaylistPath(const CAppSettings& settings, bool bAllTracksInOneDir);

    // Appends the entry of `track`; false when the playlist could not be written.
    static bool WritePlaylistEntry(const CTrackItem& track, const CAppSettings& settings,
                                   bool bAllTracksInOneDir);
};
