#pragma once

#include "freedb/service/AlbumInfo.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CFreeDBSettings;

// A socket listening on 127.0.0.1 at a port the system chooses (in `nPort`), or -1.
int ListenOnLoopback(unsigned& nPort);

// A loopback CDDB server for tests: the line protocol on one port, the HTTP gateway
// (and the web search page) on another, both bound to 127.0.0.1 on ports the system
// chooses. It serves a small fixed set of xmcd records (and any a test adds), handles
// one connection at a time on its own thread (or each on a thread of its own, on
// request), and can misbehave on request.
class CCddbTestServer {
public:
    enum class EMisbehaviour {
        None,
        NoWelcome,           // says nothing (CDDB: no welcome; HTTP: no reply)
        HalfLineThenSilence, // sends half of its first line, then waits for the client
        CloseMidLine,        // sends half of its first line, then closes
        EndlessLine,         // its first line never ends
        Garbage,             // replies without CDDB codes (HTTP: a status line that is not HTTP)
        Welcome432,          // a 432 welcome, then closes
        EndlessList,         // a query reply whose match list never ends
    };

    struct SAlbum {
        std::string m_strCategory;
        std::string m_strDiscId;
        std::string m_strArtist;
        std::string m_strTitle;
        std::string m_strRecord; // the xmcd record, lines ended by "\n", without the "."
    };

    CCddbTestServer();
    ~CCddbTestServer();
    CCddbTestServer(const CCddbTestServer&) = delete;
    CCddbTestServer& operator=(const CCddbTestServer&) = delete;

    unsigned CddbpPort() const { return m_nCddbpPort; }
    unsigned HttpPort() const { return m_nHttpPort; }
    static const char* CgiPath() { return "/~cddb/cddb.cgi"; }
    // Points `settings` at this server, over the gateway or the line protocol.
    void Configure(CFreeDBSettings& settings, bool bHttp, unsigned nTimeout = 30) const;
    static const std::vector<SAlbum>& Albums();
    // Serves this album too, after the fixed ones.
    void AddAlbum(const SAlbum& album);
    // Serves `nCount` albums "Album 0"... of the disc kManyDiscId, each of three tracks in a
    // category of its own ("cat100"...), so that each can be read.
    static constexpr const char* kManyDiscId = "5a0b0c03";
    void AddAlbumsOfOneDisc(int nCount);
    // The disc of three 200-second tracks, given this ID.
    static CAlbumInfo Disc(const char* pDiscId);
    // Serves every connection on a thread of its own, so clients are served at once.
    void SetConcurrent(bool bConcurrent) { m_bConcurrent = bConcurrent; }

    void SetMisbehaviour(EMisbehaviour eMisbehaviour) { m_eMisbehaviour = eMisbehaviour; }
    // A pause before every reply.
    void SetReplyDelay(std::chrono::milliseconds delay) { m_nDelayMs = delay.count(); }
    // HTTP replies as HTTP/1.1 in chunks of this many bytes (0: HTTP/1.0, unchunked).
    void SetChunkSize(size_t nChunkSize) { m_nChunkSize = nChunkSize; }
    // The welcome line, sent as it is (give the line end too).
    void SetWelcome(const std::string& strWelcome) { Store(m_strWelcome, strWelcome); }
    void SetProtoReply(const std::string& strReply) { Store(m_strProtoReply, strReply); }
    void SetQuitReply(const std::string& strReply) { Store(m_strQuitReply, strReply); }
    // Refuses the client's hello with this reply line, as gnudb does to a client name it
    // does not know: the answer to the hello, and over HTTP to every command.
    void SetHelloRefusal(const std::string& strReply) { Store(m_strHelloRefusal, strReply); }
    // A "sites" reply of at least this many bytes: the usual two servers, then as many
    // more, each line longer than a settings value, as it takes.
    void SetSitesReplyBytes(size_t nBytes) { m_nSitesBytes = nBytes; }

    // Every line received so far, over both protocols, in order.
    std::vector<std::string> ReceivedLines() const;
    int ConnectionCount() const { return m_nConnections.load(); }
    // The most connections in use at the same moment so far: waiting for a reply, which
    // takes a while only with a reply delay, so set one.
    int PeakConnectionCount() const { return m_nPeakConnections.load(); }

    // Ends the thread; every open connection is closed.
    void Stop();

private:
    void Run();
    void Serve(int hClient, bool bCddbp);
    std::vector<SAlbum> AllAlbums() const;
    void ServeCddbp(int hClient);
    void ServeHttp(int hClient);
    bool Misbehave(int hClient, const std::string& strFirstLine);
    std::vector<std::string> Answer(const std::string& strCommand, int hClient, bool& bQuit);
    std::vector<std::string> SitesReply() const;
    // Set and read a text the test thread may change, under the lock.
    void Store(std::string& strField, const std::string& strValue);
    std::string Load(const std::string& strField) const;
    std::vector<std::string> AnswerQuery(const std::string& strDiscId);
    std::vector<std::string> AnswerRead(const std::string& strCategory, const std::string& strId);
    std::string SearchPage(const std::string& strQuery, const std::string& strHost);
    void SendHttpReply(int hClient, const std::string& strStatus, const std::string& strBody);
    // Waits for bytes and appends them; false once the client closed or the server stops.
    bool Receive(int hClient, std::string& strBuffer);
    bool ReadLine(int hClient, std::string& strBuffer, std::string& strLine);
    bool SendAll(int hClient, const std::string& strData);
    void Pause();
    void Record(const std::string& strLine);
    void WaitForClose(int hClient);
    void SendEndless(int hClient, const std::string& strStart, const std::string& strRepeat);

    int m_hCddbpListen = -1;
    int m_hHttpListen = -1;
    unsigned m_nCddbpPort = 0;
    unsigned m_nHttpPort = 0;
    std::atomic<bool> m_bStop{false};
    std::atomic<EMisbehaviour> m_eMisbehaviour{EMisbehaviour::None};
    std::atomic<long long> m_nDelayMs{0};
    std::atomic<size_t> m_nChunkSize{0};
    std::atomic<size_t> m_nSitesBytes{0};
    std::atomic<int> m_nConnections{0};
    std::atomic<int> m_nWaitingConnections{0};
    std::atomic<int> m_nPeakConnections{0};
    std::atomic<bool> m_bConcurrent{false};
    mutable std::mutex m_mutex; // guards the texts below, read by the test thread
    std::string m_strWelcome =
        "201 fixture CDDBP server v1.5PL3 ready at Sun Jun 07 10:42:07 2026\r\n";
    std::string m_strProtoReply = "201 OK, CDDB protocol level now: 6";
    std::string m_strQuitReply = "230 fixture Closing connection.  Goodbye.";
    std::string m_strHelloRefusal;
    std::vector<std::string> m_received;
    std::vector<SAlbum> m_addedAlbums;
    std::vector<std::thread> m_connectionThreads; // owned by the server's thread
    std::thread m_thread;                         // the server's own thread, started last
};
