#include "freedb/service/ServerStatsFetch.h"

#include "freedb/protocol/CddbHttpClient.h"
#include "freedb/protocol/CddbpClient.h"

#include <memory>

CServerStatsFetch::CServerStatsFetch(const CFreeDBSettings& settings, const CProfile& profile)
    : CBackgroundFetch(profile), m_settings(settings) {}

CServerStatsFetch::~CServerStatsFetch() {
    StopAndJoin(kStopGrace);
}

bool CServerStatsFetch::Start(const CFreeDBSettings& settings) {
    if (IsRunning())
        return false;
    StopAndJoin(kStopGrace);
    m_settings = settings;
    m_stats = CServerStats();
    m_bGot = false;
    return StartThread([this] { Run(); });
}

void CServerStatsFetch::Run() {
    std::unique_ptr<CCddbClient> source;
    if (m_settings.m_bUseHTTP)
        source = std::make_unique<CCddbHttpClient>(m_settings, &Logging());
    else
        source = std::make_unique<CCddbpClient>(m_settings, &Logging());
    source->SetOwner(this);
    Attach([&source] { source->Shutdown(); });
    const bool got = source->Open() && source->GetStats(m_stats);
    source->Close();
    Attach({});
    m_bGot = got;
}

std::optional<CServerStats> CServerStatsFetch::Result() const {
    if (IsRunning() || !m_bGot)
        return std::nullopt;
    return m_stats;
}
