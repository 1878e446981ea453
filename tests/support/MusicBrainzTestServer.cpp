#include "support/MusicBrainzTestServer.h"

#include "support/CddbTestServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kSliceMs = 20;

const char* Reason(int nStatus) {
    switch (nStatus) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 503:
        return "Service Unavailable";
    default:
        return "Other";
    }
}

void SendAll(int hClient, const std::string& strData) {
    for (size_t sent = 0; sent < strData.size();) {
        const ssize_t count =
            send(hClient, strData.data() + sent, strData.size() - sent, MSG_NOSIGNAL);
        if (count <= 0)
            return;
        sent += static_cast<size_t>(count);
    }
}
} // namespace

CMusicBrainzTestServer::CMusicBrainzTestServer() {
    m_hListen = ListenOnLoopback(m_nPort);
    m_thread = std::thread([this] { Run(); });
}

CMusicBrainzTestServer::~CMusicBrainzTestServer() {
    m_bStop = true;
    m_thread.join();
    close(m_hListen);
}

std::string CMusicBrainzTestServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_nPort) + "/ws/2/";
}

void CMusicBrainzTestServer::Queue(const SReply& reply) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies.push_back(reply);
}

std::vector<CMusicBrainzTestServer::SRequest> CMusicBrainzTestServer::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void CMusicBrainzTestServer::Run() {
    while (!m_bStop) {
        pollfd entry{m_hListen, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        const int hClient = accept4(m_hListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (hClient < 0)
            continue;
        Serve(hClient);
        close(hClient);
    }
}

void CMusicBrainzTestServer::Serve(int hClient) {
    std::string head;
    char chunk[4096];
    while (head.find("\r\n\r\n") == std::string::npos && !m_bStop) {
        pollfd entry{hClient, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        const ssize_t count = recv(hClient, chunk, sizeof chunk, 0);
        if (count <= 0)
            return;
        head.append(chunk, static_cast<size_t>(count));
    }
    SRequest request;
    const size_t firstBlank = head.find(' ');
    request.m_strTarget =
        head.substr(firstBlank + 1, head.find(' ', firstBlank + 1) - firstBlank - 1);
    const size_t agent = head.find("User-Agent: ");
    if (agent != std::string::npos)
        request.m_strUserAgent = head.substr(agent + 12, head.find("\r\n", agent) - agent - 12);
    request.m_time = std::chrono::steady_clock::now();
    SReply reply{404, R"({"error": "Not Found"})", false};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
        if (!m_replies.empty()) {
            reply = m_replies[std::min(m_nNext, m_replies.size() - 1)];
            ++m_nNext;
        }
    }
    std::string text = "HTTP/1.1 " + std::to_string(reply.m_nStatus) + " " +
                       Reason(reply.m_nStatus) +
                       "\r\nContent-Type: application/json\r\nConnection: close\r\n" +
                       (reply.m_nStatus == 503 ? "Retry-After: 1\r\n" : "") +
                       "Content-Length: " + std::to_string(reply.m_strBody.size()) + "\r\n\r\n";
    text += reply.m_bTruncated ? reply.m_strBody.substr(0, reply.m_strBody.size() / 2)
                               : reply.m_strBody;
    SendAll(hClient, text);
}
