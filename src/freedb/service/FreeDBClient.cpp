#include "freedb/service/FreeDBClient.h"

#include "freedb/protocol/CddbHttpClient.h"
#include "freedb/protocol/CddbpClient.h"
#include "freedb/protocol/MusicBrainzSource.h"
#include "freedb/service/FreeDBSettings.h"

#include <climits>

CFreeDBClient::CFreeDBClient(CFreeDBSettings& settings, const CProfile* pProfile,
                             IAlbumSourceOwner* pLogWindow)
    : m_pLogWindow(pLogWindow), m_settings(settings), m_pProfile(pProfile) {
    SetMode(kModeCddbp);
    ApplySettings();
}

CFreeDBClient::~CFreeDBClient() {
    Disconnect();
    Attach(nullptr, m_pShutdownSource);
}

void CFreeDBClient::Reconfigure() {
    m_settings.Load();
    ApplySettings();
}

void CFreeDBClient::ApplySettings() {
    const int mode = m_settings.IsMusicBrainz() ? kModeMusicBrainz
                     : m_settings.m_bUseHTTP    ? kModeHttp
                                                : kModeCddbp;
    if (mode != m_nMode)
        SetMode(mode);
    m_pSource->RefreshLogging();
}

std::unique_ptr<CAlbumSource> CFreeDBClient::MakeSource(int nMode) const {
    std::unique_ptr<CAlbumSource> source;
    if (nMode == kModeMusicBrainz) {
        source = std::make_unique<CMusicBrainzSource>(m_settings, m_pProfile);
    } else if (nMode == kModeHttp) {
        auto http = std::make_unique<CCddbHttpClient>(m_settings, m_pProfile);
        if (!m_strWebHost.empty())
            http->SetWebHost(m_strWebHost, m_strWebPort);
        source = std::move(http);
    } else {
        source = std::make_unique<CCddbpClient>(m_settings, m_pProfile);
    }
    source->SetOwner(m_pLogWindow);
    return source;
}

CCddbClient* CFreeDBClient::CddbSource() const {
    return m_nMode == kModeMusicBrainz ? nullptr : static_cast<CCddbClient*>(m_pSource.get());
}

void CFreeDBClient::Attach(CAlbumSource* pSource, CAlbumSource*& pSlot) {
    const std::lock_guard<std::mutex> lock(m_shutdownMutex);
    pSlot = pSource;
    if (pSource != nullptr && m_bShutDown)
        pSource->Shutdown();
}

void CFreeDBClient::SetMode(int nMode) {
    Disconnect();
    m_nMode = nMode == kModeHttp || nMode == kModeMusicBrainz ? nMode : kModeCddbp;
    std::unique_ptr<CAlbumSource> source = MakeSource(m_nMode);
    Attach(source.get(), m_pShutdownSource);
    m_pSource = std::move(source);
}

void CFreeDBClient::SetLogWindow(IAlbumSourceOwner* pLogWindow) {
    if (pLogWindow != nullptr)
        m_pLogWindow = pLogWindow;
    m_pSource->SetOwner(m_pLogWindow);
}

void CFreeDBClient::SetWebHost(const std::string& strHost, const std::string& strPortText) {
    m_strWebHost = strHost;
    m_strWebPort = strPortText;
    if (m_nMode == kModeHttp)
        static_cast<CCddbHttpClient&>(*m_pSource).SetWebHost(strHost, strPortText);
}

bool CFreeDBClient::Connect() {
    if (m_bConnected)
        return true;
    m_bConnected = m_pSource->Open();
    return m_bConnected;
}

void CFreeDBClient::Disconnect() {
    if (!m_bConnected)
        return;
    m_pSource->Log("\tClosing connection ...");
    m_pSource->Close();
    m_pSource->Log("done.\r\n");
    m_bConnected = false;
}

int CFreeDBClient::Query(CAlbumInfo& album) {
    if (!m_bConnected || !m_pSource->Query(album, m_found))
        return -1;
    return static_cast<int>(std::min<std::size_t>(m_found.GetCount(), INT_MAX));
}

bool CFreeDBClient::PopFound(CAlbumInfo& album) {
    const CAlbumList::AlbumPtr first = m_found.PopFront();
    if (!first)
        return false;
    album = *first;
    return true;
}

bool CFreeDBClient::Read(CAlbumInfo& album) {
    return m_pSource->Read(album);
}

int CFreeDBClient::Search(const std::string& strText, bool bInArtists, bool bInTitles,
                          bool bInTracks, bool bInOther) {
    m_found.Clear();
    if (m_nMode == kModeHttp) {
        auto& http = static_cast<CCddbHttpClient&>(*m_pSource);
        if (!http.Search(strText, bInArtists, bInTitles, bInTracks, bInOther, m_found))
            return -1;
    } else {
        std::unique_ptr<CAlbumSource> source = MakeSource(kModeHttp);
        Attach(source.get(), m_pShutdownSearch);
        const bool found = static_cast<CCddbHttpClient&>(*source).Search(
            strText, bInArtists, bInTitles, bInTracks, bInOther, m_found);
        Attach(nullptr, m_pShutdownSearch);
        if (!found)
            return -1;
    }
    return static_cast<int>(std::min<std::size_t>(m_found.GetCount(), INT_MAX));
}

int CFreeDBClient::GetServerList() {
    CCddbClient* cddb = CddbSource();
    if (!m_bConnected || cddb == nullptr || !cddb->GetSites(m_settings))
        return 0;
    m_settings.Save();
    m_settings.Load();
    return static_cast<int>(std::min<std::size_t>(m_settings.GetSiteCount(), INT_MAX));
}

void CFreeDBClient::Shutdown() {
    const std::lock_guard<std::mutex> lock(m_shutdownMutex);
    m_bShutDown = true;
    for (CAlbumSource* source : {m_pShutdownSource, m_pShutdownSearch}) {
        if (source != nullptr)
            source->Shutdown();
    }
}
