#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

// An INI text with private-profile semantics: sections and keys match without regard
// to case, the first match wins, values are trimmed, new keys go to the end of their
// section and new sections to the end of the text. Lines the engine does not
// understand (comments, stray text) are kept as they are, so a save loses nothing.
class CPrivateProfile {
public:
    CPrivateProfile() = default;

    // Replaces the contents by the parsed text.
    void Parse(std::string_view text);
    std::string Serialize() const;

    // Reads a file; a missing or unreadable file reads as empty. Returns whether the
    // file was read.
    bool Load(const std::string& strPath);
    // Writes the whole text to a temporary file beside `strPath` and renames it over
    // the old file, so a crash never leaves half a file. An existing file keeps its
    // permissions; a new one gets `nNewFileMode`.
    bool Save(const std::string& strPath, mode_t nNewFileMode = 0600) const;

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view strDefault) const;
    // The leading decimal number of the value; `nDefault` when the key is missing or
    // holds no number.
    long long GetInt(std::string_view section, std::string_view key, long long nDefault) const;

    // Line breaks in any argument are written as blanks: a value can never start a
    // line of its own.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, long long value);
    void DeleteKey(std::string_view section, std::string_view key);
    void DeleteSection(std::string_view section);

    bool HasSection(std::string_view section) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    struct SLine {
        std::string m_strKey; // empty for a line that is not a key=value entry
        std::string m_strValue;
        std::string m_strRaw; // the original text of a line that is not an entry
    };
    struct SSection {
        std::string m_strName;
        bool m_bHasHeader = true; // false only for the lines before the first section
        std::vector<SLine> m_lines;
    };

    SSection* FindSection(std::string_view section);
    const SSection* FindSection(std::string_view section) const;
    static const SLine* FindKey(const SSection& section, std::string_view key);
    void RebuildIndex();

    std::vector<SSection> m_sections;
    // Section names compared without regard to case, looked up without a copy.
    struct SNoCaseHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const;
    };
    struct SNoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    // Name -> index of the first section with that name.
    std::unordered_map<std::string, size_t, SNoCaseHash, SNoCaseEqual> m_sectionIndex;
};
