#include "freedb/protocol/CddbTransport.h"

#include "freedb/protocol/HttpReplyHead.h"
#include "platform/Text.h"

#include <algorithm>

namespace {
constexpr size_t kRawReadSize = 16384;
// A chunk-size line (or the line end after a chunk) longer than this is not HTTP.
constexpr size_t kMaxChunkLine = 4096;
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
        if (!ReadLine(line) || !CHttpReplyHead::ParseChunkSize(line, m_nChunkLeft))
            return false;
        // The bytes read ahead of the size line are still chunk-encoded.
        m_strRaw = TakeReadAhead();
        m_eChunkState = m_nChunkLeft == 0 ? EChunkState::End : EChunkState::Data;
    }
    m_bInBody = true;
    return true;
}

void CCddbTransport::ResetReply() {
    m_bHttp11 = false;
    m_bInBody = false;
    m_bChunked = false;
    m_nChunkLeft = 0;
    m_eChunkState = EChunkState::Data;
    m_strRaw.clear();
}

void CCddbTransport::OnNewSocket() {
    CLineSocket::OnNewSocket();
    ResetReply();
}

// Hands the line reader the body with the chunk framing taken out, so a chunk
// boundary inside a line does not split it. The end of the last chunk reads as a
// closed connection.
long CCddbTransport::ReceiveSome(char* pBuffer, size_t nLength) {
    if (!m_bChunked || !m_bInBody)
        return CLineSocket::ReceiveSome(pBuffer, nLength);
    for (;;) {
        const long decoded = DecodeChunks(pBuffer, nLength);
        if (decoded != 0 || m_eChunkState == EChunkState::End)
            return decoded;
        char raw[kRawReadSize];
        const long received = CLineSocket::ReceiveSome(raw, sizeof raw);
        if (received <= 0)
            return received;
        m_strRaw.append(raw, static_cast<size_t>(received));
    }
}

long CCddbTransport::DecodeChunks(char* pBuffer, size_t nLength) {
    size_t produced = 0;
    size_t used = 0;
    std::string line;
    auto takeLine = [&](std::string& text) {
        const size_t end = m_strRaw.find('\n', used);
        if (end == std::string::npos)
            return false;
        text = m_strRaw.substr(used, end - used);
        used = end + 1;
        return true;
    };
    bool progress = true;
    while (progress && produced < nLength) {
        progress = false;
        switch (m_eChunkState) {
        case EChunkState::Data: {
            const size_t count = static_cast<size_t>(
                std::min<uint64_t>({m_strRaw.size() - used, m_nChunkLeft, nLength - produced}));
            std::copy_n(m_strRaw.data() + used, count, pBuffer + produced);
            used += count;
            produced += count;
            m_nChunkLeft -= count;
            if (m_nChunkLeft == 0)
                m_eChunkState = EChunkState::DataEnd;
            progress = count > 0 || m_nChunkLeft == 0;
            break;
        }
        case EChunkState::DataEnd:
            if (takeLine(line)) {
                m_eChunkState = EChunkState::Size;
                progress = true;
            }
            break;
        case EChunkState::Size:
            if (!takeLine(line))
                break;
            if (!CHttpReplyHead::ParseChunkSize(line, m_nChunkLeft))
                m_eChunkState = EChunkState::Broken;
            else
                m_eChunkState = m_nChunkLeft == 0 ? EChunkState::End : EChunkState::Data;
            progress = true;
            break;
        case EChunkState::End:
        case EChunkState::Broken:
            break;
        }
    }
    m_strRaw.erase(0, used);
    const bool lineTooLong =
        (m_eChunkState == EChunkState::Size || m_eChunkState == EChunkState::DataEnd) &&
        m_strRaw.size() > kMaxChunkLine;
    if (lineTooLong)
        m_eChunkState = EChunkState::Broken;
    if (produced > 0)
        return static_cast<long>(produced);
    return m_eChunkState == EChunkState::Broken ? -1 : 0;
}
