#include "support/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

std::string ReadWholeFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string ReadBeside(const char* strSource, const std::string& strFolder,
                       const std::string& strName) {
    return ReadWholeFile(
        (std::filesystem::path(strSource).parent_path() / strFolder / strName).string());
}

mode_t FileMode(const std::string& strPath) {
    struct stat info {};
    ::stat(strPath.c_str(), &info);
    return info.st_mode & 07777;
}

std::vector<std::string> SplitLines(const std::string& strText) {
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
