#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A loopback stand-in for the MusicBrainz web service: plain HTTP/1.1 on 127.0.0.1, one
// connection at a time, each request answered by the next reply the test queued (the
// last one again once the queue is used up). It records what was asked, with the
// User-Agent and the moment.
class CMusicBrainzTestServer {
public:
    struct SReply {
        int m_nStatus = 200;
        std::string m_strBody;
        // Announces the whole body, sends half of it and closes.
        bool m_bTruncated = false;
    };
    struct SRequest {
        std::string m_strTarget; // path and query
        std::string m_strUserAgent;
        std::chrono::steady_clock::time_point m_time;
    };

    CMusicBrainzTestServer();
    ~CMusicBrainzTestServer();
    CMusicBrainzTestServer(const CMusicBrainzTestServer&) = delete;
    CMusicBrainzTestServer& operator=(const CMusicBrainzTestServer&) = delete;

    // "http://127.0.0.1:PORT/ws/2/".
    std::string BaseUrl() const;
    void Queue(const SReply& reply);
    std::vector<SRequest> Requests() const;

private:
    void Run();
    void Serve(int hClient);

    int m_hListen = -1;
    unsigned m_nPort = 0;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex; // guards the two lists, read by the test thread
    std::vector<SReply> m_replies;
    std::size_t m_nNext = 0;
    std::vector<SRequest> m_requests;
    std::thread m_thread;
};
