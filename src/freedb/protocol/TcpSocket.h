#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <string>

// A blocking IPv4 TCP client socket. Waits (connect, and the reads of the line socket)
// go in 100 ms slices, so a stop request or a Shutdown from another thread ends them
// promptly. Lives in the thread of one FreeDB operation; only Shutdown may be called
// from any thread.
class CTcpSocket {
public:
    static constexpr unsigned kDefaultTimeout = 30;
    static constexpr int kPollMilliseconds = 100;

    CTcpSocket() = default;
    virtual ~CTcpSocket();
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Opens a new stream socket; true when it could be made.
    bool Create();
    // Closes the socket; safe to call when none is open.
    void Close();
    bool IsOpen() const { return m_hSocket.load() >= 0; }

    // Resolves the host (a dotted address is taken as it is) and connects, giving up
    // after the time-out, on a stop request or on a Shutdown.
    virtual bool Connect(const std::string& strHost, unsigned nPort);

    // Finds the IPv4 address of a host; may block for as long as it likes.
    using Resolver = std::function<bool(const std::string& strHost, in_addr& address)>;
    // getaddrinfo by default; tests give a slow one.
    void SetResolver(Resolver resolver) { m_resolver = std::move(resolver); }

    // Bounds the connect, the idle wait of a line and the blocking send.
    void SetTimeout(unsigned nSeconds);
    unsigned GetTimeout() const { return m_nTimeout; }

    // True only when every byte was sent.
    bool Send(const char* pBuffer, size_t nLength);
    // Bytes read, 0 when the peer closed, -1 on error.
    long Receive(char* pBuffer, size_t nLength);
    bool Ioctl(unsigned long nCommand, int& nArgument);

    // Wakes every blocked call on this socket at once and makes later ones fail; for a
    // forced stop from another thread. It lasts, also for sockets created later, until
    // ResetShutdown, so an operation being stopped cannot open a new connection.
    void Shutdown();
    void ResetShutdown();

protected:
    // Asked between the slices of a wait; true ends the wait as a failure.
    virtual bool IsBreak() { return false; }
    // Told when Create has opened a new socket, so derived state can start afresh.
    virtual void OnNewSocket() {}
    bool IsShutDown() const { return m_bShutDown.load(); }
    // Waits up to one slice for the socket to become readable: 1 readable (or closed),
    // 0 when the slice passed idle, -1 on a failed poll.
    int WaitReadable(int nMilliseconds);
    // Reads what is waiting without blocking: bytes read, 0 when the peer closed, -1 on
    // error, kNothingWaiting when nothing has arrived.
    static constexpr long kNothingWaiting = -2;
    long ReceiveWaiting(char* pBuffer, size_t nLength);

private:
    bool WaitConnected(int hSocket);
    bool Resolve(const std::string& strHost, in_addr& address);

    std::atomic<int> m_hSocket{-1};
    std::atomic<bool> m_bShutDown{false};
    std::mutex m_handleMutex; // orders Close against a Shutdown from another thread
    unsigned m_nTimeout = kDefaultTimeout;
    Resolver m_resolver;
};
