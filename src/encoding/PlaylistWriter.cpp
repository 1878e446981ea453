#include "encoding/PlaylistWriter.h"

#include "encoding/AppSettings.h"
#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"
#include "filelist/SymbolReplacement.h"
#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>

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

// Whether the name holds a letter or digit (any non-ASCII character counts as one).
bool HasNameCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || std::isalnum(byte) != 0;
    });
}

// A token left empty leaves its separator behind ("- Album" without a year): blanks,
// dashes, underscores and dots at either end go, and a name never starts hidden.
std::string TrimDanglingSeparators(const std::string& name) {
    constexpr std::string_view kSeparators = " -_.";
    const size_t first = name.find_first_not_of(kSeparators);
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(kSeparators) - first + 1);
}

// The name of the folder that `strDir` (ending in '/') stands for.
std::string FolderName(const std::string& strDir) {
    std::string_view dir(strDir);
    while (!dir.empty() && dir.back() == '/')
        dir.remove_suffix(1);
    return std::string(CText::FileNamePart(dir));
}

// Appends `text` to the file by writing the whole new file beside it and renaming it over
// the old one, so that a failed write leaves the playlist as it was (or none), never a
// cut or empty one. False when the old file could not be read or the new one written.
bool AppendText(const std::string& strPath, const std::string& text) {
    std::string content;
    std::FILE* file = std::fopen(strPath.c_str(), "rb");
    if (file == nullptr && errno != ENOENT)
        return false;
    if (file != nullptr) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            content.append(buffer, n);
        const bool read = std::ferror(file) == 0;
        std::fclose(file);
        if (!read)
            return false;
    }
    // Readable by all, as playlists are for sharing.
    return CAtomicFile::Write(strPath, content + text, 0644);
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

// Whether an M3U playlist has a line holding `strMp3Path`.
bool M3uHasEntry(const std::string& strPath, const std::string& strMp3Path) {
    std::ifstream in(strPath, std::ios::binary);
    const std::string wanted = CText::OneLine(strMp3Path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == wanted)
            return true;
    }
    return false;
}

bool PlsHasEntry(const CPrivateProfile& pls, const std::string& strMp3Path) {
    const std::vector<std::string> keys = pls.KeyNames(kPlsSection);
    return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
        return CText::ToLowerAscii(key).starts_with("file") &&
               pls.GetString(kPlsSection, key, "") == CText::OneLine(strMp3Path);
    });
}

bool AppendM3uEntry(const std::string& strPath, const CTrackItem& track, bool bExtended) {
    if (M3uHasEntry(strPath, track.m_strMp3Path))
        return true;
    if (!bExtended)
        return AppendText(strPath, M3uEntry(track));
    return AppendText(strPath, ExtendedM3uEntry(track, !FileExists(strPath)));
}

bool WritePlsEntry(const std::string& strPath, const CTrackItem& track) {
    CPrivateProfile pls;
    pls.Load(strPath);
    if (PlsHasEntry(pls, track.m_strMp3Path))
        return true;
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
    const CSymbolReplacement symbols = CSymbolReplacement::Load(profile);
    name = TrimDanglingSeparators(symbols.ReplaceFileNameSymbols(std::move(name)));
    if (!HasNameCharacter(name))
        name = symbols.ReplaceFileNameSymbols(FolderName(settings.m_strInputDir));
    if (name.empty())
        name = "Playlist";
    settings.m_strPlaylistName = name + (settings.m_nPlaylistType == kPls ? ".pls" : ".m3u");
}

std::string CPlaylistWriter::PlaylistDirectory(const CAppSettings& settings,
                                               const std::string& strFirstWavDir) {
    if (settings.m_bSameDir && !strFirstWavDir.empty())
        return strFirstWavDir;
    return settings.m_strOutputDir;
}

std::string CPlaylistWriter::PlaylistPath(const CAppSettings& settings,
                                          const std::string& strFirstWavDir) {
    const std::string directory = PlaylistDirectory(settings, strFirstWavDir);
    // Directory settings normally end in '/'; one that does not still names a directory,
    // and an empty one leaves the name relative rather than turning it into a root path.
    if (directory.empty() || directory.back() == '/')
        return directory + settings.m_strPlaylistName;
    return directory + "/" + settings.m_strPlaylistName;
}

bool CPlaylistWriter::WritePlaylistEntry(const CTrackItem& track, const CAppSettings& settings,
                                         const std::string& strPath) {
    switch (settings.m_nPlaylistType) {
    case kNone:
        return true;
    case kM3u:
    case kExtendedM3u:
        return AppendM3uEntry(strPath, track, settings.m_nPlaylistType == kExtendedM3u);
    case kPls:
        return WritePlsEntry(strPath, track);
    default:
        return false;
    }
}
