#include "freedb/service/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/Text.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {
// At most `nMax` bytes of `text`, never cut inside a UTF-8 character.
std::string_view CutUtf8(std::string_view text, std::size_t nMax) {
    if (text.size() <= nMax)
        return text;
    std::size_t end = nMax;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

// A section or key name that cannot end its line, open a section or end its key early
// in this engine or in the private-profile engine that reads the same file.
std::string SafeName(std::string_view name) {
    std::string result = CText::OneLine(name);
    for (char& c : result) {
        if (c == '[' || c == ']' || c == '=')
            c = ' ';
    }
    return std::string(CText::Trim(result));
}

} // namespace

bool CIniFile::LoadFile(const std::string& strPath) {
    std::FILE* file = CRegularFile::OpenForReading(strPath);
    if (file == nullptr) {
        Clear();
        return false;
    }
    std::string content;
    char buffer[8192];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        content.append(buffer, n);
    const bool bRead = std::ferror(file) == 0;
    std::fclose(file);
    LoadText(bRead ? content : std::string());
    return bRead;
}

void CIniFile::LoadText(std::string_view text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
    ForgetLastSection();
    m_bModified = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        AddLine(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
}

void CIniFile::AddLine(std::string_view line) {
    // Files written on Windows end their lines with CR LF.
    while (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!line.empty())
        m_lines.emplace_back(CutUtf8(line, kMaxLineLength));
}

bool CIniFile::SaveFile(const std::string& strPath) const {
    // Held for the whole save, so saves from several threads reach the disk in the
    // order their texts were taken and the last one holds every write before it.
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string text;
    for (const std::string& line : m_lines) {
        text += line;
        text += '\n';
    }

    std::error_code error;
    const std::filesystem::path parent = std::filesystem::path(strPath).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, error);
    if (!CAtomicFile::Write(strPath, text, 0600))
        return false;
    m_bModified = false;
    return true;
}

int CIniFile::FindSection(std::string_view name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return FindSectionLocked(name);
}

int CIniFile::FindSectionLocked(std::string_view name) {
    const std::string header = "[" + std::string(name) + "]";
    const auto matches = [&](int i) {
        return CText::EqualsNoCase(CText::Trim(m_lines[static_cast<std::size_t>(i)]), header);
    };
    // Albums are written key by key, so the same section is asked for many times in a
    // row; the remembered index is only trusted while its line is still that header.
    if (m_nLastSection >= 0 && m_nLastSection < static_cast<int>(m_lines.size()) &&
        m_lines[static_cast<std::size_t>(m_nLastSection)] == m_strLastSection &&
        matches(m_nLastSection))
        return m_nLastSection;

    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        if (matches(i)) {
            m_nLastSection = i;
            m_strLastSection = m_lines[static_cast<std::size_t>(i)];
            return i;
        }
    }
    return -1;
}

bool CIniFile::IsSectionHeader(int i) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return IsSectionHeaderLocked(i);
}

bool CIniFile::IsSectionHeaderLocked(int i) const {
    if (i < 0 || i >= static_cast<int>(m_lines.size()))
        return false;
    const std::string_view line = CText::Trim(m_lines[static_cast<std::size_t>(i)]);
    return line.size() > 2 && line.front() == '[' && line.back() == ']';
}

int CIniFile::FindKey(int nSection, std::string_view key, std::string& strValue) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return FindKeyLocked(nSection, key, strValue);
}

int CIniFile::FindKeyLocked(int nSection, std::string_view key, std::string& strValue) const {
    if (nSection < 0)
        return -1;
    for (int i = nSection + 1; i < static_cast<int>(m_lines.size()); ++i) {
        if (IsSectionHeaderLocked(i))
            return -1;
        const std::string& line = m_lines[static_cast<std::size_t>(i)];
        if (line.size() > key.size() && line[key.size()] == '=' &&
            CText::EqualsNoCase(std::string_view(line).substr(0, key.size()), key)) {
            strValue = line.substr(key.size() + 1);
            return i;
        }
    }
    return -1;
}

bool CIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return WriteLocked(section, key, value);
}

bool CIniFile::WriteInt(std::string_view section, std::string_view key, int nValue) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return WriteLocked(section, key, std::to_string(nValue));
}

bool CIniFile::WriteLocked(std::string_view section, std::string_view key, std::string_view value) {
    const std::string safeSection = SafeName(section);
    const std::string safeKey = SafeName(key);
    // The header and the "key=" must fit on a line, or the line would not read back.
    if (safeSection.empty() || safeKey.empty() || safeSection.size() + 2 > kMaxLineLength ||
        safeKey.size() + 1 > kMaxLineLength)
        return false;

    int nSection = FindSectionLocked(safeSection);
    if (nSection < 0) {
        m_lines.push_back("[" + safeSection + "]");
        nSection = static_cast<int>(m_lines.size()) - 1;
    }
    const std::string line(CutUtf8(safeKey + "=" + CText::OneLine(value), kMaxLineLength));
    m_bModified = true;

    std::string oldValue;
    const int nKey = FindKeyLocked(nSection, safeKey, oldValue);
    if (nKey >= 0) {
        m_lines[static_cast<std::size_t>(nKey)] = line;
        return true;
    }
    m_lines.insert(m_lines.begin() + nSection + 1, line);
    return true;
}

std::string CIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view strDefault) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string value;
    if (FindKeyLocked(FindSectionLocked(SafeName(section)), SafeName(key), value) < 0)
        return std::string(strDefault);
    return value;
}

int CIniFile::ReadInt(std::string_view section, std::string_view key, int nDefault) {
    const std::string text = ReadString(section, key, {});
    long long value = 0;
    if (!CText::ParseInt(text, value) || value < INT_MIN || value > INT_MAX)
        return nDefault;
    return static_cast<int>(value);
}

int CIniFile::CountSectionsWithKey(std::string_view key) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int nCount = 0;
    std::string value;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        if (IsSectionHeaderLocked(i) && FindKeyLocked(i, key, value) >= 0)
            ++nCount;
    }
    return nCount;
}

int CIniFile::GetLineCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_lines.size());
}

std::string CIniFile::GetLine(int i) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (i < 0 || i >= static_cast<int>(m_lines.size()))
        return {};
    return m_lines[static_cast<std::size_t>(i)];
}

void CIniFile::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
    ForgetLastSection();
    m_bModified = false;
}

bool CIniFile::IsModified() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bModified;
}

void CIniFile::ForgetLastSection() {
    m_nLastSection = -1;
    m_strLastSection.clear();
}
