#pragma once

#include "freedb/service/AlbumList.h"

#include <memory>
#include <mutex>
#include <string>

class CAlbumSource;
class CCddbClient;
class CCddbHttpClient;
class CFreeDBSettings;
class CProfile;
class IAlbumSourceOwner;

// One FreeDB connection behind one interface: the CDDB line protocol, the HTTP gateway or
// the MusicBrainz web service, as the settings choose, with the albums found by the last
// query or search.
// Used by one thread at a time; only Shutdown may be called from another thread.
class CFreeDBClient {
public:
    enum EMode { kModeCddbp = 0, kModeHttp = 1, kModeMusicBrainz = 2 };

    // `settings` and `pProfile` (the logging level; none: standard logging) must outlive
    // the client. The client reads the settings as they are in memory, so values set for
    // one run only are kept; Reconfigure rereads the file.
    CFreeDBClient(CFreeDBSettings& settings, const CProfile* pProfile,
                  IAlbumSourceOwner* pLogWindow = nullptr);
    ~CFreeDBClient();
    CFreeDBClient(const CFreeDBClient&) = delete;
    CFreeDBClient& operator=(const CFreeDBClient&) = delete;

    // Reloads the settings from their file, then ApplySettings.
    void Reconfigure();
    // Switches the source to the one the settings choose and rereads the logging level.
    void ApplySettings();
    // Replaces the source by a new one of mode `nMode`; an open connection is closed first.
    void SetMode(int nMode);
    int GetMode() const { return m_nMode; }
    // Where log lines go and whose stop request is read; a missing owner is ignored.
    void SetLogWindow(IAlbumSourceOwner* pLogWindow);
    // The web site searched instead of the fixed one.
    void SetWebHost(const std::string& strHost, const std::string& strPortText);

    bool Connect();
    void Disconnect();
    bool IsConnected() const { return m_bConnected; }

    // The albums matching `album`, kept in the found list: their number, or -1 when not
    // connected or the query failed.
    int Query(CAlbumInfo& album);
    // Moves the first album found into `album`; false when none is left.
    bool PopFound(CAlbumInfo& album);
    // Fills `album` with its full record.
    bool Read(CAlbumInfo& album);
    // Searches the web site; the albums found are kept in the found list. Their number,
    // or -1 when the search failed. Over the line protocol a gateway client is made for
    // the call.
    int Search(const std::string& strText, bool bInArtists, bool bInTitles, bool bInTracks,
               bool bInOther);
    // Replaces the settings' server list with the server's, saves and reloads the
    // settings; the number of servers, 0 when not connected to a CDDB server or the
    // command failed.
    int GetServerList();

    // From any thread: ends every wait of this client's connections at once and makes
    // later ones fail, for good. Used to force a stop.
    void Shutdown();

private:
    std::unique_ptr<CAlbumSource> MakeSource(int nMode) const;
    // Makes the source reachable by Shutdown while it lives.
    void Attach(CAlbumSource* pSource, CAlbumSource*& pSlot);
    // The source as a CDDB client; none in MusicBrainz mode.
    CCddbClient* CddbSource() const;

    bool m_bConnected = false;
    CAlbumList m_found; // owned copies
    IAlbumSourceOwner* m_pLogWindow = nullptr;
    std::unique_ptr<CAlbumSource> m_pSource;
    int m_nMode = kModeCddbp;

    CFreeDBSettings& m_settings;
    const CProfile* m_pProfile;
    std::string m_strWebHost;
    std::string m_strWebPort;
    // Guards the two pointers below and the shut-down flag against a Shutdown from
    // another thread; the client's own thread owns the sources themselves.
    std::mutex m_shutdownMutex;
    CAlbumSource* m_pShutdownSource = nullptr;
    CAlbumSource* m_pShutdownSearch = nullptr;
    bool m_bShutDown = false;
};
