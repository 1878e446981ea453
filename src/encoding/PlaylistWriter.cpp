#include "encoding/PlaylistWriter.h"

#include "encoding/AppSettings.h"
#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"
#include "filelist/SymbolReplacement.h"
#include "platform/PrivateProfile.h"
#include "platform/Text.h"

#include <cstdio>

namespace {
enum EPlaylistKind : unsigned { kNone = 0, kM3u = 1, kExtendedM3u = 2, kPls = 3 };

constexpr const char* kPlsSection = "Playlist";

// What a player shows for the track: "artist - title", or the title alone.
// Line breaks become blanks so that a title from a server cannot start a line.
std::string DisplayTitle(const CTrackItem& track) {
    if (track.m_strArtist.empty())
        return CText::OneLine(track.m_strTitle);
    return CText::OneLine(track.m_strArtist + " - " + track.m_strTitle);
}

bool FileExists(const std::string& strPath) {
    std::FILE* file = std::fopen(strPath.c_str(), "r");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

// Appends `text` to the file; false when it could not be opened or written.
bool AppendText(const std::string& strPath, const std::string& text) {
    std::FILE* file = std::fopen(strPath.c_str(), "a");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::string M3uEntry(const CTrackItem& track) {
    return CText::OneLine(track.m_strMp3Path) + "\n";
}

std::string ExtendedM3uEntry(const CTrackItem& track, bool bNewFile) {
    std::string entry = bNewFile ? "#EXTM3U\n" : "";
    entry += CText::Format("#EXTINF:%u,", track.m_nPlayTime);
    entry += DisplayTitle(track) + "\n";
    return entry + M3uEntry(track);
}

bool WritePlsEntry(const std::string& strPath, const CTrackItem& track) {
    CPrivateProfile pls;
    pls.Load(strPath);
    // A damaged count starts the numbering afresh rather than at a wrapped number.
    const long long count = pls.GetInt(kPlsSection, "NumberOfEntries", 0);
    const unsigned n = count > 0 && count < 0xFFFFFFFFLL ? static_cast<unsigned>(count) + 1 : 1;
    pls.WriteInt(kPlsSection, "NumberOfEntries", n);
    pls.WriteString(kPlsSection, "Version", "2");
    pls.WriteString(kPlsSection, CText::Format("File%u", n), track.m_strMp3Path);
    pls.WriteString(kPlsSection, CText::Format("Title%u", n), DisplayTitle(track));
    pls.WriteInt(kPlsSection, CText::Format("Length%u", n), track.m_nPlayTime);
    // A playlist is for sharing: readable by all, unlike the private profile.
    return pls.Save(strPath, 0644);
}
} // namespace

void CPlaylistWriter::MakePlaylistName(CAppSettings& settings, const CProfile& profile) {
    if (settings.m_nPlaylistType == kNone) {
        settings.m_strPlaylistName.clear();
        return;
    }
    std::string name = settings.m_strPlaylistFormat;
    // [number] and [title] belong to single tracks and stay as typed.
    CText::ReplaceAll(name, "[artist]", settings.m_strArtist);
    CText::ReplaceAll(name, "[album]", settings.m_strAlbum);
    CText::ReplaceAll(name, "[year]", settings.m_strYear);
    CText::ReplaceAll(name, "[genre]", CGenreTable::GenreName(settings.m_nGenre));
    name = CSymbolReplacement::Load(profile).ReplaceFileNameSymbols(std::move(name));
    settings.m_strPlaylistName = name + (settings.m_nPlaylistType == kPls ? ".pls" : ".m3u");
}

std::string CPlaylistWriter::PlaylistPath(const CAppSettings& settings, bool bAllTracksInOneDir) {
    const std::string& directory = bAllTracksInOneDir && settings.m_bSameDir
                                       ? settings.m_strInputDir
                                       : settings.m_strOutputDir;
    // Directory settings normally end in '/'; one that does not still names a directory,
    // and an empty one leaves the name relative rather than turning it into a root path.
    if (directory.empty() || directory.back() == '/')
        return directory + settings.m_strPlaylistName;
    return directory + "/" + settings.m_strPlaylistName;
}

bool CPlaylistWriter::WritePlaylistEntry(const CTrackItem& track, const CAppSettings& settings,
                                         bool bAllTracksInOneDir) {
    if (settings.m_nPlaylistType == kNone)
        return true;
    // A name is made whenever the kind is set; without one there is no file to add to.
    if (settings.m_strPlaylistName.empty())
        return false;

    const std::string path = PlaylistPath(settings, bAllTracksInOneDir);
    switch (settings.m_nPlaylistType) {
    case kM3u:
        return AppendText(path, M3uEntry(track));
    case kExtendedM3u:
        return AppendText(path, ExtendedM3uEntry(track, !FileExists(path)));
    case kPls:
        return WritePlsEntry(path, track);
    default:
        return false;
    }
}
