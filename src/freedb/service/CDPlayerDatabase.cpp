#include "freedb/service/CDPlayerDatabase.h"

#include "freedb/service/AlbumInfo.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/PlatformPaths.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace {
bool IsDiscId(std::string_view text) {
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

bool Exists(const std::string& strPath) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(strPath, error));
}
} // namespace

CCDPlayerDatabase::CCDPlayerDatabase(CFreeDBSettings& settings, std::string strPath,
                                     const CProfile* pProfile)
    : CAlbumSource(pProfile), m_settings(settings), m_strPath(std::move(strPath)) {}

CCDPlayerDatabase::CCDPlayerDatabase(CFreeDBSettings& settings, const CProfile* pProfile)
    : CCDPlayerDatabase(settings, CPlatformPaths::CdPlayerIniPath(), pProfile) {}

CCDPlayerDatabase::~CCDPlayerDatabase() {
    // Only unsaved writes: saving an unchanged copy could undo settings saved since.
    if (m_ini.IsModified())
        m_ini.SaveFile(m_strPath);
}

bool CCDPlayerDatabase::Open() {
    return m_ini.LoadFile(m_strPath);
}

bool CCDPlayerDatabase::Close() {
    return true;
}

bool CCDPlayerDatabase::Query(CAlbumInfo& album, CAlbumList& results) {
    CAlbumInfo cached(album);
    if (!Read(cached))
        return false;
    results.AddCopy(cached);
    return true;
}

bool CCDPlayerDatabase::Read(CAlbumInfo& album) {
    const std::string discId = album.GetDiscId();
    if (!IsDiscId(discId) || m_ini.FindSection(discId) < 0)
        return false;
    album.SetArtist(m_ini.ReadString(discId, "artist", ""));
    album.SetTitle(m_ini.ReadString(discId, "title", ""));
    album.SetYear(m_ini.ReadString(discId, "year", ""));
    const int nTracks = std::clamp(m_ini.ReadInt(discId, "numTracks", 0), 0, kMaxTracks);
    for (int i = 0; i < nTracks; ++i) {
        const std::string key = std::to_string(i);
        album.GetTrack(static_cast<std::size_t>(i)).SetTitle(m_ini.ReadString(discId, key, ""));
    }
    return true;
}

bool CCDPlayerDatabase::Store(CAlbumInfo& album) {
    if (!album.IsFilled() || album.GetTrackCount() == 0)
        return false;
    const std::string discId = album.GetDiscId();
    if (!IsDiscId(discId))
        return false;

    std::lock_guard<std::mutex> lock(m_storeMutex);
    // Start from the file as it is now: the settings may have been saved into it since
    // it was opened. A file that is there but cannot be read is left alone.
    if (!m_ini.LoadFile(m_strPath) && Exists(m_strPath))
        return false;
    const bool bWritten = WriteAlbum(discId, album);
    if (!m_ini.SaveFile(m_strPath))
        return false;
    m_settings.Load();
    return bWritten;
}

bool CCDPlayerDatabase::WriteAlbum(const std::string& strDiscId, const CAlbumInfo& album) {
    // No more tracks than a read takes back, so a server's album cannot swell the file.
    const int nTracks = static_cast<int>(
        std::min<std::size_t>(album.GetTrackCount(), static_cast<std::size_t>(kMaxTracks)));
    bool bWritten = m_ini.WriteString(strDiscId, "artist", album.GetArtist());
    bWritten = m_ini.WriteString(strDiscId, "title", album.GetTitle()) && bWritten;
    bWritten = m_ini.WriteString(strDiscId, "year", album.GetYear()) && bWritten;
    bWritten = m_ini.WriteInt(strDiscId, "numTracks", nTracks) && bWritten;
    bWritten = m_ini.WriteInt(strDiscId, "numplay", nTracks) && bWritten;
    bWritten = m_ini.WriteInt(strDiscId, "entryType", kEntryType) && bWritten;
    bWritten = m_ini.WriteInt(strDiscId, "category", kCategory) && bWritten;
    for (int i = 0; i < nTracks; ++i) {
        const std::string& title = album.GetTracks()[static_cast<std::size_t>(i)].GetTitle();
        bWritten = m_ini.WriteString(strDiscId, std::to_string(i), title) && bWritten;
    }
    return bWritten;
}

unsigned CCDPlayerDatabase::GetFileSize() const {
    struct stat info {};
    if (::stat(m_strPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
    return static_cast<unsigned>(std::min<off_t>(info.st_size, UINT_MAX));
}

unsigned CCDPlayerDatabase::GetAlbumCount() const {
    return static_cast<unsigned>(m_ini.CountSectionsWithKey("title"));
}

std::string CCDPlayerDatabase::GetInfoText() const {
    return CText::Format("Location:\t\t%s\r\nFile size:\t\t%s\r\nMaximal file size:\t%s\r\n"
                         "Tracklists:\t%u",
                         m_strPath.c_str(), FormatFileSize(GetFileSize()).c_str(),
                         FormatFileSize(kMaxFileSize).c_str(), GetAlbumCount());
}

std::string CCDPlayerDatabase::FormatFileSize(unsigned nBytes) {
    if (nBytes < 1024)
        return CText::Format("%u bytes", nBytes);
    if (nBytes < 1048576)
        return CText::Format("%.02f Kbytes (%u bytes)", nBytes / 1024.0, nBytes);
    return CText::Format("%.02f Mbytes (%u bytes)", nBytes / 1048576.0, nBytes);
}

bool CCDPlayerDatabase::ShouldCache(unsigned nWriteToLocalDB, ECacheMoment moment) {
    switch (nWriteToLocalDB) {
    case 1:
        return moment == ECacheMoment::Selected;
    case 2:
        return moment == ECacheMoment::Fetched;
    default:
        return false;
    }
}
