#include "freedb/protocol/LineSocket.h"

#include "platform/Text.h"

#include <algorithm>

namespace {
constexpr size_t kReadSize = 16384;
}

bool CLineSocket::SendLine(const std::string& strText) {
    const std::string line = strText + '\n';
    if (!Send(line.data(), line.size()))
        return false;
    m_nReplyBytes = 0;
    Trace(+1, strText);
    return true;
}

bool CLineSocket::ReadLine(std::string& strLine) {
    strLine.clear();
    const unsigned nIdleLimit = GetTimeout() * 10;
    unsigned nIdle = 0;
    for (;;) {
        if (TakeLine(strLine)) {
            if (m_nReplyBytes <= kMaxReplyBytes)
                return true;
            strLine.clear();
            DropConnection();
            return false;
        }
        if (m_strBuffer.size() - m_nStart > kMaxLineLength) {
            DropConnection();
            return false;
        }
        const long received = FillBuffer();
        if (received > 0)
            continue;
        if (received != kNothingWaiting || IsBreak())
            return FailRead();
        const int ready = WaitReadable(kPollMilliseconds);
        if (ready < 0)
            return FailRead();
        if (ready == 0 && ++nIdle >= nIdleLimit)
            return FailRead();
    }
}

// Delivers the next complete line from the buffer, if there is one.
bool CLineSocket::TakeLine(std::string& strLine) {
    const size_t end = m_strBuffer.find('\n', m_nScanned);
    if (end == std::string::npos) {
        m_nScanned = m_strBuffer.size();
        return false;
    }
    std::string raw = m_strBuffer.substr(m_nStart, end - m_nStart);
    m_nReplyBytes += raw.size() + 1;
    m_nStart = end + 1;
    m_nScanned = m_nStart;
    if (m_nStart == m_strBuffer.size() || m_nStart > kReadSize * 4) {
        m_strBuffer.erase(0, m_nStart);
        m_nStart = 0;
        m_nScanned = 0;
    }
    raw.erase(std::remove(raw.begin(), raw.end(), '\r'), raw.end());
    strLine = CText::Trim(raw);
    Trace(-1, strLine);
    return true;
}

long CLineSocket::FillBuffer() {
    const size_t used = m_strBuffer.size();
    m_strBuffer.resize(used + kReadSize);
    const long received = ReceiveSome(m_strBuffer.data() + used, kReadSize);
    m_strBuffer.resize(used + static_cast<size_t>(std::max(received, 0L)));
    return received;
}

// A line that failed is dropped with its bytes, as a line is never delivered in part.
bool CLineSocket::FailRead() {
    m_strBuffer.clear();
    m_nStart = 0;
    m_nScanned = 0;
    return false;
}

void CLineSocket::DropConnection() {
    Close();
    FailRead();
}

long CLineSocket::ReceiveSome(char* pBuffer, size_t nLength) {
    return ReceiveWaiting(pBuffer, nLength);
}

std::string CLineSocket::TakeReadAhead() {
    std::string rest = m_strBuffer.substr(m_nStart);
    FailRead();
    return rest;
}

void CLineSocket::OnNewSocket() {
    FailRead();
    m_nReplyBytes = 0;
}
