#pragma once

#include "platform/PrivateProfile.h"

#include <string>
#include <string_view>

// A language file as the catalogue reads it: an INI text whose values are cut to the
// length of the lookup buffer. Anything that is not a plausible language file (missing,
// unreadable, holding NUL bytes, or larger than any real translation) reads as a file
// with no keys, so every lookup falls back to the built-in texts.
class CLanguageFile {
public:
    static constexpr size_t kMaxFileSize = 1024 * 1024;
    // A lookup buffer of 300 characters keeps 299 of a value.
    static constexpr size_t kMaxValueLength = 299;

    // Returns whether the file was read and accepted.
    bool Load(const std::string& strPath);
    // Returns whether the text was accepted.
    bool Parse(std::string_view text);

    // The value of `key` in `section`, cut to kMaxValueLength bytes without splitting a
    // UTF-8 character; empty when missing.
    std::string Value(std::string_view section, std::string_view key) const;

private:
    CPrivateProfile m_ini;
};
