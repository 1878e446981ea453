#pragma once

#include <cerrno>
#include <cstdio>
#include <string>

// Opening files that the user named for reading, without hanging on a named pipe or a
// device that happens to carry a ".wav" name.
class CRegularFile {
public:
    // The error number given for a folder, and for anything else that is not a regular file.
    static constexpr int kFolder = EISDIR;
    static constexpr int kNotRegularFile = -1;

    // A binary read stream on `strPath` when it is a regular file; nullptr otherwise,
    // with the reason in `pnError` when given: the system's error number, kFolder or
    // kNotRegularFile.
    static std::FILE* OpenForReading(const std::string& strPath, int* pnError = nullptr);
};
