#include "freedb/service/BackgroundFetch.h"

#include "freedb/service/FreeDBSettings.h"

#include <utility>

CBackgroundFetch::CBackgroundFetch(const CProfile& profile) {
    m_logging.WriteInt(CFreeDBSettings::SProfileOptions::kSection, "Logging",
                       CFreeDBSettings::SProfileOptions::IsFullLogging(profile) ? 1 : 0);
}

CBackgroundFetch::~CBackgroundFetch() {
    Join();
}

bool CBackgroundFetch::StartThread(std::function<void()> body) {
    if (m_bRunning)
        return false;
    Join();
    m_bStop = false;
    {
        const std::lock_guard<std::mutex> lock(m_shutdownMutex);
        m_bShutDown = false;
    }
    m_startTime = std::chrono::steady_clock::now();
    m_bRunning = true;
    m_thread = std::thread([this, body = std::move(body)] {
        body();
        m_bRunning = false;
    });
    return true;
}

void CBackgroundFetch::RequestStop() {
    if (!m_bStop.exchange(true))
        m_stopTime = std::chrono::steady_clock::now();
}

bool CBackgroundFetch::PollStop(std::chrono::milliseconds grace) {
    if (m_bRunning && std::chrono::steady_clock::now() - m_stopTime < grace)
        return false;
    if (m_bRunning) {
        const std::lock_guard<std::mutex> lock(m_shutdownMutex);
        m_bShutDown = true;
        if (m_shutdown)
            m_shutdown();
    }
    Join();
    return true;
}

void CBackgroundFetch::StopAndJoin(std::chrono::milliseconds grace) {
    if (!m_thread.joinable())
        return;
    RequestStop();
    while (!PollStop(grace))
        std::this_thread::sleep_for(kStopPoll);
}

void CBackgroundFetch::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

void CBackgroundFetch::Attach(std::function<void()> shutdown) {
    const std::lock_guard<std::mutex> lock(m_shutdownMutex);
    m_shutdown = std::move(shutdown);
    // A connection made after the stop was forced is shut down at once.
    if (m_shutdown && m_bShutDown)
        m_shutdown();
}

void CBackgroundFetch::LogLine(const std::string& /*strLine*/) {}

bool CBackgroundFetch::AskProxyPassword(std::string& strUser, std::string& strPassword) {
    return m_prompt && !m_bStop && m_prompt(strUser, strPassword);
}
