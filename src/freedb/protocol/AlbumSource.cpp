#include "freedb/protocol/AlbumSource.h"

#include "freedb/protocol/AlbumSourceOwner.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <cstdarg>

namespace {
// Traces beyond this wait for no completed line; further ones are dropped rather than
// letting a long silent transfer grow memory without bound.
constexpr size_t kMaxTraceText = 4u << 20;

std::string ExpandTabs(std::string text) {
    CText::ReplaceAll(text, "\t", "     ");
    return text;
}
} // namespace

CAlbumSource::CAlbumSource(const CProfile* pProfile) : m_pProfile(pProfile) {
    RefreshLogging();
}

bool CAlbumSource::Store(CAlbumInfo& /*album*/) {
    return false;
}

void CAlbumSource::SetOwner(IAlbumSourceOwner* pOwner) {
    if (pOwner != nullptr)
        m_pOwner = pOwner;
}

void CAlbumSource::RefreshLogging() {
    m_bFullLogging = m_pProfile != nullptr && m_pProfile->GetInt("FreeDB", "Logging", 0) != 0;
}

bool CAlbumSource::IsUserBreak() {
    return m_pOwner != nullptr && m_pOwner->IsStopRequested();
}

bool CAlbumSource::ReadLine(std::string& strLine) {
    strLine.clear();
    return false;
}

void CAlbumSource::Log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = CText::FormatV(format, args);
    va_end(args);
    LogText(text);
}

void CAlbumSource::LogText(const std::string& strText) {
    m_strPending += strText;
    for (size_t end = m_strPending.find("\r\n"); end != std::string::npos;
         end = m_strPending.find("\r\n")) {
        std::string line = m_strPending.substr(0, end);
        m_strPending.erase(0, end + 2);
        CompleteLine(std::move(line));
    }
}

void CAlbumSource::CompleteLine(std::string strLine) {
    if (strLine.find("[ERR]") != std::string::npos && IsUserBreak())
        strLine = CText::Format("[ERR]Error %.03u: %s", 105u, "User break.");
    HandOverTraces();
    if (m_pOwner != nullptr)
        m_pOwner->LogLine(ExpandTabs(std::move(strLine)));
}

void CAlbumSource::Trace(int nDirection, const std::string& strText) {
    if (!m_bFullLogging || m_strTrace.size() > kMaxTraceText)
        return;
    const char* arrow = nDirection > 0 ? " -> " : nDirection < 0 ? " <- " : "    ";
    m_strTrace += "[DBG]" + std::string(arrow) + strText + "\r\n";
}

void CAlbumSource::HandOverTraces() {
    std::string traces;
    traces.swap(m_strTrace);
    if (!m_bFullLogging || m_pOwner == nullptr)
        return;
    size_t start = 0;
    for (size_t end = traces.find("\r\n"); end != std::string::npos;
         end = traces.find("\r\n", start)) {
        m_pOwner->LogLine(ExpandTabs(traces.substr(start, end - start)));
        start = end + 2;
    }
}
