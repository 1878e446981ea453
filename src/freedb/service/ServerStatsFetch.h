#pragma once

#include "freedb/protocol/ServerStats.h"
#include "freedb/service/BackgroundFetch.h"
#include "freedb/service/FreeDBSettings.h"

#include <atomic>
#include <chrono>
#include <optional>

// The remote page of "Database Info": asks the chosen server for its statistics, over the
// line protocol or the HTTP gateway as the settings say, on a thread of its own.
class CServerStatsFetch : public CBackgroundFetch {
public:
    static constexpr std::chrono::milliseconds kStopGrace{1000};

    CServerStatsFetch(const CFreeDBSettings& settings, const CProfile& profile);
    ~CServerStatsFetch() override;

    // Starts a new request with the settings as they are now; false while one runs.
    bool Start(const CFreeDBSettings& settings);
    // Once the request has ended: the statistics, or nothing when they could not be had.
    std::optional<CServerStats> Result() const;

private:
    void Run();

    CFreeDBSettings m_settings; // the request's while it runs
    CServerStats m_stats;       // written by the request, read once it has ended
    std::atomic<bool> m_bGot{false};
};
