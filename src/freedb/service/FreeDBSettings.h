#pragma once

#include "freedb/service/FreeDBSite.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CProfile;

// The FreeDB connection settings and the server list, kept in section "CDDB" of
// CDPLAYER.INI so that they live beside the CD Player database. The program makes one
// shared instance at start (it lives in the window thread); dialogs edit copies and save
// them. Save rewrites only the keys below: other sections and unknown keys of the file
// survive.
class CFreeDBSettings {
public:
    // The freedb servers are gone; gnudb speaks the same protocols.
    static constexpr const char* kDefaultServer = "gnudb.gnudb.org";
    static constexpr const char* kDefaultPort = "8880";
    static constexpr const char* kDefaultHttpPath = "/~cddb/cddb.cgi";
    static constexpr unsigned kDefaultTimeout = 30;
    // The domain an e-mail address gets when its domain part is left empty, and the
    // address used when none is stored.
    static constexpr const char* kMailDomain = "localhost";
    static constexpr const char* kDefaultEmailAddress = "wavsmith@localhost";
    static constexpr const char* kSection = "CDDB";
    // The MusicBrainz web service, chosen like a server: its row in the server list
    // carries this protocol word.
    static constexpr const char* kMusicBrainzProtocol = "musicbrainz";
    static constexpr const char* kMusicBrainzHost = "musicbrainz.org";
    static constexpr const char* kMusicBrainzPort = "443";
    static constexpr const char* kMusicBrainzUrl = "https://musicbrainz.org/ws/2/";
    // Text values are read into a 255-character buffer: at most 254 bytes, never cut
    // inside a UTF-8 character.
    static constexpr std::size_t kMaxValueLength = 254;
    // The password block stores the length in one byte read back as signed.
    static constexpr std::size_t kMaxPasswordLength = 127;
    // A damaged "NumServers" must not make a list of billions of empty rows, and a
    // server's list is stored no longer than this.
    static constexpr std::size_t kMaxServers = 1000;
    // The password block: length byte, 256 bytes of text and filler, key byte.
    static constexpr std::size_t kPasswordBlockSize = 258;

    // The OPTIONS_CDDB bits.
    static constexpr unsigned kOptionUseHttp = 2;
    static constexpr unsigned kOptionUseProxy = 4;
    static constexpr unsigned kOptionProxyAuth = 8;
    static constexpr unsigned kOptionAskPassword = 16;

    // Settings on `strIniPath` (the CLI's --cdplayer-ini, a test's temporary file), by
    // default the user's CDPLAYER.INI; loaded at once.
    explicit CFreeDBSettings(std::string strIniPath);
    CFreeDBSettings();

    const std::string& GetIniPath() const { return m_strIniPath; }

    // Reads every key; a missing file or key gives the defaults. Answers whether the
    // file was read.
    bool Load();
    // Writes every key back into the file as it is now on disk, in one replace of the
    // whole file (mode 0600 when new; never readable by others while it holds a
    // password). With "ask password" chosen the password is cleared first, so none is
    // stored. Answers whether the file was written.
    bool Save();

    // The server list.
    std::size_t AddSite(const CFreeDBSite& site);
    std::size_t GetSiteCount() const { return m_sites.size(); }
    // Site i, or an empty record when i is out of range.
    const CFreeDBSite& GetSite(std::size_t i) const;
    void RemoveSite(std::size_t i);
    void ClearSites() { m_sites.clear(); }
    // Appends the built-in rows: a cddbp and an http row for each place, then the
    // MusicBrainz row.
    void AddDefaultSites();
    // Replaces the list by a server's list; MusicBrainz rows, which no CDDB server
    // sends, are kept first.
    void ReplaceSites(const std::vector<CFreeDBSite>& sites);
    // The built-in rows in their one-line form.
    static const std::vector<std::string>& DefaultSiteLines();

    // Replaces the remote server and port in memory only.
    void SetServerOverride(std::string_view host, std::string_view port);

    // Whether the chosen server is the MusicBrainz web service: its host, or a row of
    // the list with the MusicBrainz protocol word and the chosen host and port.
    bool IsMusicBrainz() const;
    // The web service's base address: the one set for this run, else built from the row.
    std::string MusicBrainzUrl() const;

    // The stored form of a password: the 258-byte block (length, characters minus a key,
    // filler, key) as hex digits with a trailing checksum byte. `nSeed` drives the key
    // and the filler.
    static std::string EncodePasswordBlock(std::string_view password, std::uint32_t nSeed);
    // The password of a stored block; empty when the text is not a well-formed block or
    // its checksum fails.
    static std::string DecodePasswordBlock(std::string_view hex);

    // Connection preferences of the FreeDB window, in the profile's section "FreeDB".
    struct SProfileOptions {
        static constexpr const char* kSection = "FreeDB";
        // Most connections at once, 1..20 (a stored value outside is used as 1).
        unsigned m_nMaxThreadsCount = 5;
        // 0 standard logging, any other value full logging.
        unsigned m_nLogging = 0;
        // 0 none, 1 just the selected albums, 2 all retrieved albums.
        unsigned m_nWriteToLocalDB = 1;
        // The "Get FreeDB Servers List" dialog.
        int m_nGetServersX = 300;
        int m_nGetServersY = 200;
        int m_nGetServersW = 300;
        int m_nGetServersH = 200;

        void Load(const CProfile& profile);
        bool Save(CProfile& profile) const;
        // The logging level alone, as a source rereads it before each operation.
        static bool IsFullLogging(const CProfile& profile);
    };

    std::string m_strRemoteServer = kDefaultServer;
    std::string m_strRemotePort = kDefaultPort;
    unsigned m_nTimeout = kDefaultTimeout;
    // OPTIONS_CDDB as last read or written.
    unsigned m_nOptions = 0;
    std::string m_strHTTPPath = kDefaultHttpPath;
    std::string m_strProxyServer;
    std::string m_strProxyPort;
    std::string m_strProxyUser;
    std::string m_strProxyPassword;
    std::string m_strEmailServer;
    std::string m_strEmailAddress = kDefaultEmailAddress;
    std::string m_strSubmitEmailAddress = kDefaultEmailAddress;
    bool m_bUseHTTP = false;
    bool m_bUseProxy = false;
    bool m_bProxyAuth = false;
    bool m_bAskPassword = false;
    // The MusicBrainz base address for this run only (a mirror or a test server).
    std::string m_strMusicBrainzUrl;

private:
    void AddMissingMusicBrainzSite();
    std::string m_strIniPath;
    std::vector<CFreeDBSite> m_sites;
};
