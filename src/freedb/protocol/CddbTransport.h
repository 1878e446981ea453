#pragma once

#include "freedb/protocol/ChunkedDecoder.h"
#include "freedb/protocol/LineSocket.h"

#include <cstdint>
#include <string>

// The connection both CDDB clients use: a line socket that can go through an HTTP
// proxy and that reads the head of an HTTP reply, after which ReadLine delivers the
// body lines, chunked transfer decoded.
class CCddbTransport : public CLineSocket {
public:
    // Remembers the server and connects to it, or to the proxy when one is set.
    bool Connect(const std::string& strHost, unsigned nPort) override;

    // Both texts are needed; the port is read as a decimal number.
    void SetProxy(const std::string& strHost, const std::string& strPortText);
    void SetProxyAuth(const std::string& strUser, const std::string& strPassword);

    bool UsesProxy() const { return m_bUseProxy; }
    bool UsesProxyAuth() const { return m_bProxyAuth; }
    const std::string& GetProxyUser() const { return m_strProxyUser; }
    const std::string& GetProxyPassword() const { return m_strProxyPassword; }
    // The server of the last Connect as HTTP names it: the host, with ":port" unless 80.
    std::string ServerAuthority() const;

    // Reads the status line, the header lines and, for a chunked reply, the size of the
    // first chunk. False when a read fails, the status line is not HTTP, or the first
    // chunk size is not hexadecimal.
    bool ReadReplyHead();

protected:
    long ReceiveSome(char* pBuffer, size_t nLength) override;
    void OnNewSocket() override;

private:
    void ResetReply();

    std::string m_strServerHost;
    unsigned m_nServerPort = 0;
    bool m_bUseProxy = false;
    bool m_bProxyAuth = false;
    std::string m_strProxyHost;
    unsigned m_nProxyPort = 0;
    std::string m_strProxyUser;
    std::string m_strProxyPassword;
    bool m_bHttp11 = false;
    bool m_bInBody = false;
    bool m_bChunked = false;
    CChunkedDecoder m_chunks;
};
