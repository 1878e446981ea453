#include "freedb/protocol/TcpSocket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
// Resolves an IPv4 address; getaddrinfo takes dotted addresses without a look-up.
bool ResolveIpv4(const std::string& strHost, in_addr& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(strHost.c_str(), nullptr, &hints, &results) != 0 || results == nullptr)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(results->ai_addr)->sin_addr;
    freeaddrinfo(results);
    return true;
}

// What a look-up on a thread of its own hands back; shared with it, so that the thread
// may finish after the socket that asked has gone.
struct SLookup {
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bDone = false;
    bool m_bFound = false;
    in_addr m_address{};
};

bool SetBlocking(int hSocket, bool bBlocking) {
    const int flags = fcntl(hSocket, F_GETFL, 0);
    if (flags < 0)
        return false;
    return fcntl(hSocket, F_SETFL, bBlocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}
} // namespace

CTcpSocket::~CTcpSocket() {
    Close();
}

bool CTcpSocket::Create() {
    Close();
    if (IsShutDown())
        return false;
    const int hSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    m_hSocket = hSocket;
    OnNewSocket();
    return hSocket >= 0;
}

void CTcpSocket::Close() {
    std::lock_guard<std::mutex> lock(m_handleMutex);
    const int hSocket = m_hSocket.exchange(-1);
    if (hSocket >= 0)
        close(hSocket);
}

void CTcpSocket::ResetShutdown() {
    m_bShutDown = false;
}

void CTcpSocket::Shutdown() {
    std::lock_guard<std::mutex> lock(m_handleMutex);
    m_bShutDown = true;
    const int hSocket = m_hSocket.load();
    if (hSocket >= 0)
        shutdown(hSocket, SHUT_RDWR);
}

// getaddrinfo cannot be interrupted, so it runs on a thread of its own that nothing
// waits for: a stop or the time-out ends the wait here, and the look-up finishes alone.
bool CTcpSocket::Resolve(const std::string& strHost, in_addr& address) {
    if (inet_pton(AF_INET, strHost.c_str(), &address) == 1)
        return true;
    auto lookup = std::make_shared<SLookup>();
    Resolver resolver = m_resolver ? m_resolver : ResolveIpv4;
    std::thread([lookup, resolver, strHost] {
        in_addr found{};
        const bool ok = resolver(strHost, found);
        const std::lock_guard<std::mutex> lock(lookup->m_mutex);
        lookup->m_bFound = ok;
        lookup->m_address = found;
        lookup->m_bDone = true;
        lookup->m_done.notify_one();
    }).detach();
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(std::max(m_nTimeout * 1000u, 100u));
    std::unique_lock<std::mutex> lock(lookup->m_mutex);
    while (!lookup->m_bDone) {
        if (IsShutDown() || IsBreak() || std::chrono::steady_clock::now() >= deadline)
            return false;
        lookup->m_done.wait_for(lock, std::chrono::milliseconds(kPollMilliseconds));
    }
    address = lookup->m_address;
    return lookup->m_bFound;
}

bool CTcpSocket::Connect(const std::string& strHost, unsigned nPort) {
    const int hSocket = m_hSocket.load();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    if (hSocket < 0 || nPort > 65535 || !Resolve(strHost, address.sin_addr))
        return false;
    if (!SetBlocking(hSocket, false))
        return false;
    const int result =
        connect(hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (result != 0 && (errno != EINPROGRESS || !WaitConnected(hSocket)))
        return false;
    return SetBlocking(hSocket, true);
}

// Polls the connect in slices until it completes, fails, times out or is stopped.
bool CTcpSocket::WaitConnected(int hSocket) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(std::max(m_nTimeout * 1000u, 100u));
    while (std::chrono::steady_clock::now() < deadline) {
        if (IsShutDown() || IsBreak())
            return false;
        pollfd entry{hSocket, POLLOUT, 0};
        const int ready = poll(&entry, 1, kPollMilliseconds);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0)
            continue;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(hSocket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            return false;
        return error == 0 && !IsShutDown();
    }
    return false;
}

void CTcpSocket::SetTimeout(unsigned nSeconds) {
    m_nTimeout = nSeconds;
    const int hSocket = m_hSocket.load();
    if (hSocket < 0)
        return;
    timeval span{static_cast<time_t>(nSeconds), 0};
    setsockopt(hSocket, SOL_SOCKET, SO_SNDTIMEO, &span, sizeof span);
    setsockopt(hSocket, SOL_SOCKET, SO_RCVTIMEO, &span, sizeof span);
}

bool CTcpSocket::Send(const char* pBuffer, size_t nLength) {
    const int hSocket = m_hSocket.load();
    if (hSocket < 0 || IsShutDown())
        return false;
    // MSG_NOSIGNAL: a peer that has gone away fails the send instead of ending the program.
    while (nLength > 0) {
        const ssize_t sent = send(hSocket, pBuffer, nLength, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        pBuffer += sent;
        nLength -= static_cast<size_t>(sent);
    }
    return true;
}

long CTcpSocket::Receive(char* pBuffer, size_t nLength) {
    const int hSocket = m_hSocket.load();
    if (hSocket < 0)
        return -1;
    const ssize_t received = recv(hSocket, pBuffer, nLength, 0);
    return received < 0 ? -1 : static_cast<long>(received);
}

long CTcpSocket::ReceiveWaiting(char* pBuffer, size_t nLength) {
    const int hSocket = m_hSocket.load();
    if (hSocket < 0 || IsShutDown())
        return -1;
    const ssize_t received = recv(hSocket, pBuffer, nLength, MSG_DONTWAIT);
    if (received >= 0)
        return static_cast<long>(received);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return kNothingWaiting;
    return -1;
}

int CTcpSocket::WaitReadable(int nMilliseconds) {
    const int hSocket = m_hSocket.load();
    if (hSocket < 0)
        return -1;
    pollfd entry{hSocket, POLLIN, 0};
    const int ready = poll(&entry, 1, nMilliseconds);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    return ready > 0 ? 1 : 0;
}

bool CTcpSocket::Ioctl(unsigned long nCommand, int& nArgument) {
    const int hSocket = m_hSocket.load();
    return hSocket >= 0 && ioctl(hSocket, nCommand, &nArgument) == 0;
}
