#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The small line-oriented INI engine of the CD Player database: the file is a list of
// non-empty lines; sections and keys are found by scanning them, without regard to case,
// and a new key goes directly after its section header. Every read and write takes the
// mutex, so fetching threads may store albums while another thread reads.
//
// Nothing written can add a line or a section of its own: line breaks in names and
// values become blanks, brackets and '=' in names become blanks, and a written line is
// cut to the length the loader keeps, so what is written reads back as one line.
class CIniFile {
public:
    // Longer lines are cut on loading and writing (never split into several lines).
    static constexpr std::size_t kMaxLineLength = 1023;

    CIniFile() = default;
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Replaces the lines by those of the file; false (and no lines) when it cannot be
    // read.
    bool LoadFile(const std::string& strPath);
    // Replaces the lines by those of `text`, read by the same rules as a file.
    void LoadText(std::string_view text);
    // Writes every line followed by a line feed, through a temporary file renamed over
    // the old one, so a crash never leaves half a file. An existing file keeps its mode;
    // a new one is made readable by its owner only, as it may hold a proxy password.
    bool SaveFile(const std::string& strPath) const;

    // The index of the header line of section `name`, or -1.
    int FindSection(std::string_view name);
    // Line i, trimmed, is "[...]" with something between the brackets.
    bool IsSectionHeader(int i) const;
    // The index of the line of `key` in the section whose header is line `nSection`, or
    // -1; `strValue` receives the rest of the line after "key=".
    int FindKey(int nSection, std::string_view key, std::string& strValue) const;

    // False when the section or key name is empty once made safe, or the section
    // cannot be made.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInt(std::string_view section, std::string_view key, int nValue);
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view strDefault);
    // The leading decimal number of the value, `nDefault` when missing or not a number.
    int ReadInt(std::string_view section, std::string_view key, int nDefault);

    // How many sections hold `key`, whatever its value.
    int CountSectionsWithKey(std::string_view key) const;

    int GetLineCount() const;
    // Line i, or an empty text when out of range.
    std::string GetLine(int i) const;
    void Clear();
    // Whether a write happened since the last load, save or clear.
    bool IsModified() const;

private:
    void AddLine(std::string_view line);
    int FindSectionLocked(std::string_view name);
    bool IsSectionHeaderLocked(int i) const;
    int FindKeyLocked(int nSection, std::string_view key, std::string& strValue) const;
    bool WriteLocked(std::string_view section, std::string_view key, std::string_view value);
    void ForgetLastSection();

    int m_nLastSection = -1;
    std::string m_strLastSection; // the header line of the last section found
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    mutable bool m_bModified = false;
};
