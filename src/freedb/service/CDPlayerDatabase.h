#pragma once

#include "freedb/protocol/AlbumSource.h"
#include "freedb/service/IniFile.h"

#include <mutex>
#include <string>

class CFreeDBSettings;
class CProfile;

// The CD Player database: CDPLAYER.INI, one section per disc ID, used as the local cache
// of retrieved albums. The same file holds the FreeDB settings in section "CDDB", so a
// store starts from the file as it is on disk and never writes back an older copy of
// the settings. Fetching threads may store albums while another thread reads: Store
// uses none of the logging state of the source base, which belongs to one thread.
class CCDPlayerDatabase : public CAlbumSource {
public:
    static constexpr unsigned kMaxFileSize = 65535;
    // CD Player's own marks for an entry it did not make from a disc in the drive.
    static constexpr int kEntryType = 1;
    static constexpr int kCategory = 254;
    // A disc holds at most 99 tracks; a damaged "numTracks" must not grow an album.
    static constexpr int kMaxTracks = 99;

    // When an album may be cached, for the setting "WriteToLocalDB".
    enum class ECacheMoment {
        Selected, // the user closed the editor with the album selected
        Fetched,  // the album's track list was just fetched
    };

    // The database on `strPath` (the CLI's --cdplayer-ini, a test's file). `settings` is
    // reloaded after every store and must outlive the database; so must `pProfile`,
    // which holds the logging level (none: standard logging).
    CCDPlayerDatabase(CFreeDBSettings& settings, std::string strPath,
                      const CProfile* pProfile = nullptr);
    // The database on the user's CDPLAYER.INI.
    explicit CCDPlayerDatabase(CFreeDBSettings& settings, const CProfile* pProfile = nullptr);
    // Saves writes that could not be saved when they were made.
    ~CCDPlayerDatabase() override;

    // Reloads the whole file; false when it could not be read (the database is empty).
    bool Open() override;
    bool Close() override;
    // Appends a copy of `album` filled from its cached section, when there is one.
    bool Query(CAlbumInfo& album, CAlbumList& results) override;
    // Fills artist, title, year and track titles of `album` from the section of its disc
    // ID; false when the disc is not cached.
    bool Read(CAlbumInfo& album) override;
    // Writes an album that holds data and tracks into the section of its disc ID, saves
    // the file and reloads the settings. False when anything could not be written, and
    // for a disc ID that is not eight hexadecimal digits (no other section of the file,
    // "CDDB" least of all, may be written from an album).
    bool Store(CAlbumInfo& album) override;

    const std::string& GetFilePath() const { return m_strPath; }
    // The file's length in bytes; 0 when it cannot be read.
    unsigned GetFileSize() const;
    static unsigned GetMaxFileSize() { return kMaxFileSize; }
    // The sections that hold a "title" key, as last opened or stored.
    unsigned GetAlbumCount() const;
    // The text of the "Local Database" page of "Database Info".
    std::string GetInfoText() const;
    // "%u bytes", else "%.02f Kbytes (%u bytes)", else "%.02f Mbytes (%u bytes)".
    static std::string FormatFileSize(unsigned nBytes);

    // The setting "WriteToLocalDB": 0 caches nothing, 1 the album the user selects, 2
    // every album whose track list was fetched.
    static bool ShouldCache(unsigned nWriteToLocalDB, ECacheMoment moment);

private:
    bool WriteAlbum(const std::string& strDiscId, const CAlbumInfo& album);

    CFreeDBSettings& m_settings;
    std::string m_strPath;
    CIniFile m_ini;
    // One store at a time: each reads the file, writes its album, saves and reloads the
    // settings as one step.
    std::mutex m_storeMutex;
};
