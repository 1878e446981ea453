#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

CTempDir::CTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wavsmith-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    m_strPath = pattern + "/";
}

CTempDir::~CTempDir() {
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
}

std::string CTempDir::WriteFile(const std::string& strName, const std::string& content) const {
    const std::string path = File(strName);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string CTempDir::ReadFile(const std::string& strName) const {
    std::ifstream in(File(strName), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
