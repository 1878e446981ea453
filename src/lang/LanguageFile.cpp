#include "lang/LanguageFile.h"

#include <fstream>

namespace {
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

bool CLanguageFile::Load(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    if (!in)
        return Parse({});
    // One byte more than allowed tells an oversized file from one of exactly the limit.
    std::string content(kMaxFileSize + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<size_t>(in.gcount()));
    return Parse(content);
}

bool CLanguageFile::Parse(std::string_view text) {
    const bool accepted = text.size() <= kMaxFileSize && text.find('\0') == std::string_view::npos;
    m_ini.Parse(accepted ? text : std::string_view{});
    return accepted && !text.empty();
}

std::string CLanguageFile::Value(std::string_view section, std::string_view key) const {
    std::string value = m_ini.GetString(section, key, {});
    if (value.size() <= kMaxValueLength)
        return value;
    size_t cut = kMaxValueLength;
    while (cut > 0 && IsContinuationByte(value[cut]))
        --cut;
    value.resize(cut);
    return value;
}
