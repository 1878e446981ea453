#include "freedb/protocol/CddbTransport.h"

#include "freedb/protocol/HttpReplyHead.h"
#include "platform/Text.h"

namespace {
constexpr size_t kRawReadSize = 16384;
} // namespace

bool CCddbTransport::Connect(const std::string& strHost, unsigned nPort) {
    if (strHost.empty())
        return false;
    m_strServerHost = strHost;
    m_nServerPort = nPort;
    ResetReply();
    if (m_bUseProxy)
        return CLineSocket::Connect(m_strProxyHost, m_nProxyPort);
    return CLineSocket::Connect(strHost, nPort);
}

void CCddbTransport::SetProxy(const std::string& strHost, const std::string& strPortText) {
    long long port = 0;
    if (strHost.empty() || strPortText.empty())
        return;
    m_bUseProxy = true;
    m_strProxyHost = strHost;
    m_nProxyPort = CText::ParseInt(strPortText, port) && port >= 0 && port <= 65535
                       ? static_cast<unsigned>(port)
                       : 0;
}

void CCddbTransport::SetProxyAuth(const std::string& strUser, const std::string& strPassword) {
    m_bProxyAuth = true;
    if (strUser.empty() || strPassword.empty())
        return;
    m_strProxyUser = strUser;
    m_strProxyPassword = strPassword;
}

std::string CCddbTransport::ServerAuthority() const {
    if (m_nServerPort == 80 || m_nServerPort == 0)
        return m_strServerHost;
    return m_strServerHost + ":" + std::to_string(m_nServerPort);
}

bool CCddbTransport::ReadReplyHead() {
    CHttpReplyHead head;
    std::string line;
    if (!ReadLine(line) || !head.ReadStatusLine(line))
        return false;
    m_bHttp11 = head.IsHttp11();
    for (size_t count = 0;; ++count) {
        if (count > kMaxListLines || !ReadLine(line))
            return false;
        if (line.empty())
            break;
        head.ReadHeaderLine(line);
    }
    m_bChunked = head.IsChunked();
    if (m_bChunked) {
        uint64_t firstChunk = 0;
        if (!ReadLine(line) || !CHttpReplyHead::ParseChunkSize(line, firstChunk))
            return false;
        // The bytes read ahead of the size line are still chunk-encoded.
        m_chunks.Start(firstChunk, TakeReadAhead());
    }
    m_bInBody = true;
    return true;
}

void CCddbTransport::ResetReply() {
    m_bHttp11 = false;
    m_bInBody = false;
    m_bChunked = false;
    m_chunks.Start(0, {});
}

void CCddbTransport::OnNewSocket() {
    CLineSocket::OnNewSocket();
    ResetReply();
}

// Hands the line reader the body with the chunk framing taken out. The end of the last
// chunk reads as a closed connection.
long CCddbTransport::ReceiveSome(char* pBuffer, size_t nLength) {
    if (!m_bChunked || !m_bInBody)
        return CLineSocket::ReceiveSome(pBuffer, nLength);
    for (;;) {
        const long decoded = m_chunks.Decode(pBuffer, nLength);
        if (decoded != 0 || m_chunks.IsEnd())
            return decoded;
        char raw[kRawReadSize];
        const long received = CLineSocket::ReceiveSome(raw, sizeof raw);
        if (received <= 0)
            return received;
        m_chunks.Append(raw, static_cast<size_t>(received));
    }
}
