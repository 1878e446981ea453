#include "freedb/protocol/TextLines.h"

#include "platform/Text.h"

bool CTextLines::ReadLine(std::string& line) {
    if (m_nPos >= m_text.size())
        return false;
    std::size_t end = m_text.find('\n', m_nPos);
    if (end == std::string_view::npos)
        end = m_text.size();
    std::string raw(m_text.substr(m_nPos, end - m_nPos));
    m_nPos = end + 1;
    std::erase(raw, '\r');
    line = CText::Trim(raw);
    return true;
}
