#pragma once

#include "freedb/protocol/AlbumSourceOwner.h"
#include "platform/Profile.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// One FreeDB request of a dialog, on a thread of its own: the dialog starts it, polls it,
// may ask it to stop, and after a grace period its connection is shut down so that the
// thread returns; the thread is always joined, never killed. Start, the stop and the
// getters belong to the dialog's thread.
class CBackgroundFetch : protected IAlbumSourceOwner {
public:
    static constexpr std::chrono::milliseconds kStopPoll{100};
    // Asks the user for the proxy credentials, on any thread; true when confirmed.
    using PasswordPrompt = std::function<bool(std::string&, std::string&)>;

    // `profile` gives the logging level, read now.
    explicit CBackgroundFetch(const CProfile& profile);
    ~CBackgroundFetch() override;
    CBackgroundFetch(const CBackgroundFetch&) = delete;
    CBackgroundFetch& operator=(const CBackgroundFetch&) = delete;

    // Set before Start.
    void SetPasswordPrompt(PasswordPrompt prompt) { m_prompt = std::move(prompt); }
    bool IsRunning() const { return m_bRunning.load(); }
    // Asks the thread to stop; its waits end within a poll.
    void RequestStop();
    // After RequestStop, once a poll: true when the thread has ended, after shutting its
    // connection down once `grace` has passed since the request.
    bool PollStop(std::chrono::milliseconds grace);
    // The whole stop, waiting; nothing when no thread runs.
    void StopAndJoin(std::chrono::milliseconds grace);

protected:
    // Runs `body` on a new thread; false while one runs.
    bool StartThread(std::function<void()> body);
    // Makes `shutdown` end the waits of the running request's connection; empty detaches.
    void Attach(std::function<void()> shutdown);
    const CProfile& Logging() const { return m_logging; }
    std::chrono::steady_clock::time_point StartTime() const { return m_startTime; }

    void LogLine(const std::string& strLine) override;
    bool IsStopRequested() const override { return m_bStop.load(); }
    bool AskProxyPassword(std::string& strUser, std::string& strPassword) override;

private:
    void Join();

    CProfile m_logging; // the logging level alone, for the sources
    PasswordPrompt m_prompt;
    std::thread m_thread;
    std::atomic<bool> m_bRunning{false}; // cleared by the thread as it ends
    std::atomic<bool> m_bStop{false};
    std::chrono::steady_clock::time_point m_startTime;
    std::chrono::steady_clock::time_point m_stopTime;
    std::mutex m_shutdownMutex; // guards the two below against the thread
    std::function<void()> m_shutdown;
    bool m_bShutDown = false;
};
