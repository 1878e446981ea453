#pragma once

#include <cstdio>
#include <string>

// Opening files that the user named for reading, without hanging on a named pipe or a
// device that happens to carry a ".wav" name.
class CRegularFile {
public:
    // A binary read stream on `strPath` when it is a regular file; nullptr otherwise,
    // with the reason in `pstrError` when given ("permission denied", "not a regular file").
    static std::FILE* OpenForReading(const std::string& strPath, std::string* pstrError = nullptr);
};
