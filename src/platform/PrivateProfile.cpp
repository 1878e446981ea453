#include "platform/PrivateProfile.h"

#include "platform/AtomicFile.h"
#include "platform/Text.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {
// Section and key names are written on one line and must not end the header or key.
std::string CleanName(std::string_view name, char forbidden) {
    std::string result = CText::OneLine(name);
    for (char& c : result) {
        if (c == forbidden)
            c = ' ';
    }
    return std::string(CText::Trim(result));
}

} // namespace

void CPrivateProfile::Parse(std::string_view text) {
    m_sections.clear();
    m_sections.push_back(SSection{{}, false, {}});
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view trimmed = CText::TrimLeft(line);
        if (!trimmed.empty() && trimmed[0] == '[') {
            const size_t close = trimmed.find(']');
            std::string_view name = trimmed.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            m_sections.push_back(SSection{std::string(CText::Trim(name)), true, {}});
            continue;
        }
        const size_t equals = trimmed.find('=');
        const bool isComment = !trimmed.empty() && trimmed[0] == ';';
        if (equals == std::string_view::npos || equals == 0 || isComment) {
            m_sections.back().m_lines.push_back(SLine{{}, {}, std::string(line)});
            continue;
        }
        m_sections.back().m_lines.push_back(
            SLine{std::string(CText::TrimRight(trimmed.substr(0, equals))),
                  std::string(CText::Trim(trimmed.substr(equals + 1))),
                  {}});
    }
    RebuildIndex();
}

std::string CPrivateProfile::Serialize() const {
    std::string text;
    for (const SSection& section : m_sections) {
        if (section.m_bHasHeader)
            text += "[" + section.m_strName + "]\n";
        for (const SLine& line : section.m_lines) {
            if (line.m_strKey.empty())
                text += line.m_strRaw;
            else
                text += line.m_strKey + "=" + line.m_strValue;
            text += '\n';
        }
    }
    return text;
}

bool CPrivateProfile::Load(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    if (!in) {
        Parse({});
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    Parse(content.str());
    return true;
}

bool CPrivateProfile::Save(const std::string& strPath, mode_t nNewFileMode) const {
    return CAtomicFile::Write(strPath, Serialize(), nNewFileMode);
}

std::optional<std::string> CPrivateProfile::Find(std::string_view section,
                                                 std::string_view key) const {
    const SSection* found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    const SLine* line = FindKey(*found, key);
    if (line == nullptr)
        return std::nullopt;
    return line->m_strValue;
}

std::string CPrivateProfile::GetString(std::string_view section, std::string_view key,
                                       std::string_view strDefault) const {
    std::optional<std::string> value = Find(section, key);
    return value ? *value : std::string(strDefault);
}

long long CPrivateProfile::GetInt(std::string_view section, std::string_view key,
                                  long long nDefault) const {
    const std::optional<std::string> value = Find(section, key);
    long long number = 0;
    if (!value || !CText::ParseInt(*value, number))
        return nDefault;
    return number;
}

void CPrivateProfile::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    const std::string cleanKey = CleanName(key, '=');
    if (cleanKey.empty())
        return;
    const std::string cleanValue(CText::Trim(CText::OneLine(value)));
    SSection* target = FindSection(section);
    if (target == nullptr) {
        if (m_sections.empty())
            m_sections.push_back(SSection{{}, false, {}});
        m_sections.push_back(SSection{CleanName(section, ']'), true, {}});
        RebuildIndex();
        target = &m_sections.back();
    }
    for (SLine& line : target->m_lines) {
        if (!line.m_strKey.empty() && CText::EqualsNoCase(line.m_strKey, cleanKey)) {
            line.m_strValue = cleanValue;
            return;
        }
    }
    // New keys go after the last entry, ahead of trailing blank lines and comments.
    auto insertAt = target->m_lines.end();
    while (insertAt != target->m_lines.begin() && std::prev(insertAt)->m_strKey.empty())
        --insertAt;
    target->m_lines.insert(insertAt, SLine{cleanKey, cleanValue, {}});
}

void CPrivateProfile::WriteInt(std::string_view section, std::string_view key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void CPrivateProfile::DeleteKey(std::string_view section, std::string_view key) {
    SSection* target = FindSection(section);
    if (target == nullptr)
        return;
    auto& lines = target->m_lines;
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (!it->m_strKey.empty() && CText::EqualsNoCase(it->m_strKey, key)) {
            lines.erase(it);
            return;
        }
    }
}

void CPrivateProfile::DeleteSection(std::string_view section) {
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
        if (it->m_bHasHeader && CText::EqualsNoCase(it->m_strName, section)) {
            m_sections.erase(it);
            RebuildIndex();
            return;
        }
    }
}

bool CPrivateProfile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> CPrivateProfile::SectionNames() const {
    std::vector<std::string> names;
    for (const SSection& section : m_sections) {
        if (section.m_bHasHeader)
            names.push_back(section.m_strName);
    }
    return names;
}

std::vector<std::string> CPrivateProfile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const SSection* found = FindSection(section);
    if (found == nullptr)
        return names;
    for (const SLine& line : found->m_lines) {
        if (!line.m_strKey.empty())
            names.push_back(line.m_strKey);
    }
    return names;
}

CPrivateProfile::SSection* CPrivateProfile::FindSection(std::string_view section) {
    const auto it = m_sectionIndex.find(section);
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const CPrivateProfile::SSection* CPrivateProfile::FindSection(std::string_view section) const {
    const auto it = m_sectionIndex.find(section);
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const CPrivateProfile::SLine* CPrivateProfile::FindKey(const SSection& section,
                                                       std::string_view key) {
    const std::string_view wanted = CText::Trim(key);
    for (const SLine& line : section.m_lines) {
        if (!line.m_strKey.empty() && CText::EqualsNoCase(line.m_strKey, wanted))
            return &line;
    }
    return nullptr;
}

void CPrivateProfile::RebuildIndex() {
    m_sectionIndex.clear();
    for (size_t i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].m_bHasHeader)
            m_sectionIndex.emplace(m_sections[i].m_strName, i);
    }
}

size_t CPrivateProfile::SNoCaseHash::operator()(std::string_view name) const {
    // FNV-1a over the lower-cased bytes.
    size_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool CPrivateProfile::SNoCaseEqual::operator()(std::string_view a, std::string_view b) const {
    return CText::EqualsNoCase(a, b);
}
