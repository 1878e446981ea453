#include "freedb/service/OperationLog.h"

#include "freedb/protocol/LogStamp.h"
#include "freedb/service/OperationLogObserver.h"
#include "platform/Text.h"

#include <fstream>

namespace {
constexpr std::string_view kPrefixes[] = {"[INF]", "[ERR]", "[DBG]"};

// A log line is one line of the list and of the saved file, whatever a server sent.
std::string WithoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return CText::OneLine(text);
}
} // namespace

COperationLog::COperationLog(IOperationLogObserver* pObserver) : m_pObserver(pObserver) {}

int COperationLog::ParseLevel(std::string_view& text) {
    int nLevel = kStep;
    for (int i = 0; i < 3; ++i) {
        if (text.starts_with(kPrefixes[i])) {
            nLevel = i + 1;
            text.remove_prefix(kPrefixes[i].size());
        }
    }
    return nLevel;
}

void COperationLog::Log(std::string_view text) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    Log(text, local);
}

void COperationLog::Log(std::string_view text, const std::tm& time) {
    const int nLevel = ParseLevel(text);
    SLine line{nLevel, CLogStamp::Stamp(WithoutLineEnd(text), time)};

    std::lock_guard<std::mutex> delivery(m_deliveryMutex);
    {
        std::lock_guard<std::mutex> lock(m_linesMutex);
        m_lines.push_back(line);
    }
    if (m_pObserver != nullptr)
        m_pObserver->OnLogLine(line.m_nLevel, line.m_strText);
}

std::vector<COperationLog::SLine> COperationLog::GetLines() const {
    std::lock_guard<std::mutex> lock(m_linesMutex);
    return m_lines;
}

std::size_t COperationLog::GetLineCount() const {
    std::lock_guard<std::mutex> lock(m_linesMutex);
    return m_lines.size();
}

void COperationLog::Clear() {
    std::lock_guard<std::mutex> lock(m_linesMutex);
    m_lines.clear();
}

bool COperationLog::SaveToFile(const std::string& strPath) const {
    const std::vector<SLine> lines = GetLines();
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    for (const SLine& line : lines)
        out << line.m_strText << "\r\n";
    out.close();
    return !out.fail();
}
