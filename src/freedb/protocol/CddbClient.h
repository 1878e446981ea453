#pragma once

#include "freedb/protocol/AlbumSource.h"
#include "freedb/protocol/CddbTransport.h"

#include <functional>
#include <string>

class CFreeDBSettings;
class CServerStats;

// The common CDDB client: the command texts and the reading of every reply, over the
// connection of CCddbTransport. How a command reaches the server is left to the direct
// client (CCddbpClient) and the HTTP gateway client (CCddbHttpClient). Every failure
// closes its progress line with "failed." and writes one numbered error line. Used by
// one operation thread at a time.
class CCddbClient : public CCddbTransport, public CAlbumSource {
public:
    static constexpr const char* kClientName = "Tunewright";
    static constexpr const char* kClientVersion = "9.99";
    static constexpr const char* kProtocolLevel = "6";
    // The error line of a server that refuses this program's hello (gnudb answers "500
    // Unknown developer email" to a client name it has not registered) carries this
    // number, then kHelloRefused and the server's own reply line.
    static constexpr unsigned kErrorHelloRefused = 113;
    static constexpr const char* kHelloRefused = "Hello refused: ";

    // The settings give the server for Open and, for the HTTP client, the proxy; they
    // and the profile must outlive the client.
    CCddbClient(CFreeDBSettings& settings, const CProfile* pProfile);

    // Opens a socket and connects with the time-out; unless quiet, the step and its
    // errors go to the log.
    virtual bool ConnectServer(const std::string& strHost, const std::string& strPath,
                               const std::string& strPortText, unsigned nTimeout, bool bQuiet);
    // Replaces the server list of `settings` with the one the server sends; the list is
    // left as it was when the command fails.
    virtual bool GetSites(CFreeDBSettings& settings);
    virtual bool GetStats(CServerStats& stats);
    // Puts one command on its way to the server.
    virtual bool SendCommand(const std::string& strCommand);

    bool Open() override;
    bool Close() override;
    bool Query(CAlbumInfo& album, CAlbumList& results) override;
    bool Read(CAlbumInfo& album) override;
    bool ReadLine(std::string& strLine) override;
    void Shutdown() override { CTcpSocket::Shutdown(); }

    // "cddb hello " + login name + " host Tunewright 9.99".
    static std::string MakeHello();
    const std::string& GetReplyLine() const { return m_strReplyLine; }

protected:
    bool IsBreak() override { return IsUserBreak(); }
    void Trace(int nDirection, const std::string& strText) override;

    // Reads one reply line into the reply line.
    bool ReadReply();
    unsigned ReplyCode() const;
    // Reads the lines of a list reply up to ".", a failed read or the list cap.
    void ReadList(const std::function<void(const std::string&)>& take);
    // Closes the progress line with "failed." and writes the error line; answers false.
    bool Fail(unsigned nError, const char* pText);
    // Whether the reply line refuses the hello: "409 No handshake" to any command here;
    // the gateway adds a 5xx to its first command, which carries the hello.
    virtual bool HelloRefused() { return ReplyCode() == 409; }
    static bool IsRefusal(unsigned nCode) { return nCode == 409 || (nCode >= 500 && nCode < 600); }
    // Fails with the refusal and the server's reply line.
    bool FailHelloRefused();
    bool ParseRecord(CAlbumInfo& album);

    CFreeDBSettings& m_settings;
    std::string m_strReplyLine; // the line last read, or the hello and proto command
};
