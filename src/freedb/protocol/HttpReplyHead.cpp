#include "freedb/protocol/HttpReplyHead.h"

#include "platform/Text.h"

bool CHttpReplyHead::ReadStatusLine(std::string_view line) {
    m_bHttp11 = false;
    m_bChunked = false;
    if (line.find("HTTP/") == std::string_view::npos)
        return false;
    m_bHttp11 = line.find("HTTP/1.1") != std::string_view::npos;
    return true;
}

void CHttpReplyHead::ReadHeaderLine(std::string_view line) {
    const std::string lower = CText::ToLowerAscii(line);
    if (m_bHttp11 && lower.find("transfer-encoding") != std::string::npos &&
        lower.find("chunked") != std::string::npos)
        m_bChunked = true;
}

bool CHttpReplyHead::ParseChunkSize(std::string_view line, uint64_t& nSize) {
    line = CText::Trim(line);
    constexpr size_t kMaxDigits = 15;
    nSize = 0;
    size_t digits = 0;
    for (char c : line) {
        int value = 0;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        else
            break;
        if (++digits > kMaxDigits)
            return false;
        nSize = nSize * 16 + static_cast<uint64_t>(value);
    }
    return digits > 0;
}
