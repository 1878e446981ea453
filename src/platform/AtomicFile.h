#pragma once

#include <string>
#include <sys/types.h>

// Replacing a file's whole contents so that no crash ever leaves half a file.
class CAtomicFile {
public:
    // Writes `text` to a temporary file beside `strPath` and renames it over the old file.
    // An existing file keeps its permissions; a new one gets `nNewFileMode`.
    static bool Write(const std::string& strPath, const std::string& text, mode_t nNewFileMode);
};
