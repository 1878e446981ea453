#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Small file and text helpers the tests share.

// The whole file at `strPath` (empty when it cannot be read).
std::string ReadWholeFile(const std::string& strPath);
// A file of the test data folder `strFolder` beside the test source `strSource` (__FILE__).
std::string ReadBeside(const char* strSource, const std::string& strFolder,
                       const std::string& strName);
// The permission bits of a file.
mode_t FileMode(const std::string& strPath);
// The lines of a text, without their line feeds.
std::vector<std::string> SplitLines(const std::string& strText);
