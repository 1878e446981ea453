#include "lang/LanguageFile.h"

#include <cstdint>
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
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileSize)
        return Parse({});
    in.seekg(0, std::ios::beg);
    std::string content(static_cast<size_t>(size), '\0');
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
