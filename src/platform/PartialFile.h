#pragma once

#include <cstdio>
#include <string>

// A new file written under a hidden temporary name in its final folder and renamed to its
// final name only when it is complete, so that no failure, stop, crash or killed process
// leaves a cut file under the final name. A file that is not committed is removed.
class CPartialFile {
public:
    CPartialFile() = default;
    ~CPartialFile();
    CPartialFile(const CPartialFile&) = delete;
    CPartialFile& operator=(const CPartialFile&) = delete;

    // Creates the temporary file for `strFinalPath` (readable as a new file normally is);
    // false with the system's error number in errno.
    bool Create(const std::string& strFinalPath);
    std::FILE* Stream() const { return m_pStream; }
    const std::string& TemporaryPath() const { return m_strTemporaryPath; }

    // Closes the stream, flushing what it holds; false (with errno) when that fails.
    bool Close();
    // Puts the closed file's contents on the disk and renames it over the final path;
    // false (with errno) when either fails.
    bool Commit();
    // Removes the temporary file, closing it first; nothing once committed.
    void Discard();

private:
    std::FILE* m_pStream = nullptr;
    std::string m_strFinalPath;
    std::string m_strTemporaryPath;
};
