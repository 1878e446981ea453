#include "freedb/protocol/ChunkedDecoder.h"

#include "freedb/protocol/HttpReplyHead.h"

#include <algorithm>

void CChunkedDecoder::Start(std::uint64_t nFirstChunkSize, std::string strRawAhead) {
    m_nChunkLeft = nFirstChunkSize;
    m_strRaw = std::move(strRawAhead);
    m_eState = nFirstChunkSize == 0 ? EState::End : EState::Data;
}

void CChunkedDecoder::Append(const char* pRaw, std::size_t nLength) {
    m_strRaw.append(pRaw, nLength);
}

bool CChunkedDecoder::TakeLine(std::size_t& nUsed, std::string& strLine) const {
    const std::size_t end = m_strRaw.find('\n', nUsed);
    if (end == std::string::npos)
        return false;
    strLine = m_strRaw.substr(nUsed, end - nUsed);
    nUsed = end + 1;
    return true;
}

long CChunkedDecoder::Decode(char* pBuffer, std::size_t nLength) {
    std::size_t produced = 0;
    std::size_t used = 0;
    std::string line;
    bool progress = true;
    while (progress && produced < nLength) {
        progress = false;
        switch (m_eState) {
        case EState::Data: {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(
                {m_strRaw.size() - used, m_nChunkLeft, nLength - produced}));
            std::copy_n(m_strRaw.data() + used, count, pBuffer + produced);
            used += count;
            produced += count;
            m_nChunkLeft -= count;
            if (m_nChunkLeft == 0)
                m_eState = EState::DataEnd;
            progress = count > 0 || m_nChunkLeft == 0;
            break;
        }
        case EState::DataEnd:
            if (TakeLine(used, line)) {
                m_eState = EState::Size;
                progress = true;
            }
            break;
        case EState::Size:
            if (!TakeLine(used, line))
                break;
            if (!CHttpReplyHead::ParseChunkSize(line, m_nChunkLeft))
                m_eState = EState::Broken;
            else
                m_eState = m_nChunkLeft == 0 ? EState::End : EState::Data;
            progress = true;
            break;
        case EState::End:
        case EState::Broken:
            break;
        }
    }
    m_strRaw.erase(0, used);
    const bool lineTooLong = (m_eState == EState::Size || m_eState == EState::DataEnd) &&
                             m_strRaw.size() > kMaxFramingLine;
    if (lineTooLong)
        m_eState = EState::Broken;
    if (produced > 0)
        return static_cast<long>(produced);
    return m_eState == EState::Broken ? -1 : 0;
}
