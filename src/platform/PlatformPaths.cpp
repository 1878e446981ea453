#include "platform/PlatformPaths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace {
constexpr std::string_view kBinFolder = "/bin/";

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// PREFIX/ of an executable directory PREFIX/bin/; empty for any other directory.
std::string InstallPrefix(const std::string& strProgramDir) {
    const std::string dir = CPlatformPaths::WithTrailingSlash(strProgramDir);
    if (dir.size() < kBinFolder.size() ||
        dir.compare(dir.size() - kBinFolder.size(), kBinFolder.size(), kBinFolder) != 0)
        return {};
    return dir.substr(0, dir.size() - kBinFolder.size() + 1);
}
} // namespace

std::string CPlatformPaths::WithTrailingSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

std::string CPlatformPaths::ProgramDir() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return "./";
    const std::string exe(buffer.data(), static_cast<size_t>(length));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
}

std::string CPlatformPaths::DataDir() {
    return DataDirOf(ProgramDir());
}

std::string CPlatformPaths::HelpDir() {
    return DataDir() + "help/";
}

std::vector<std::string> CPlatformPaths::LibraryDirs() {
    return LibraryDirsOf(ProgramDir());
}

std::string CPlatformPaths::DataDirOf(const std::string& strProgramDir) {
    const std::string prefix = InstallPrefix(strProgramDir);
    std::error_code error;
    if (!prefix.empty() && std::filesystem::is_directory(prefix + "share/wavsmith", error))
        return prefix + "share/wavsmith/";
    return WithTrailingSlash(strProgramDir);
}

std::vector<std::string> CPlatformPaths::LibraryDirsOf(const std::string& strProgramDir) {
    std::vector<std::string> dirs{WithTrailingSlash(strProgramDir)};
    if (const std::string prefix = InstallPrefix(strProgramDir); !prefix.empty())
        dirs.push_back(prefix + "lib/wavsmith/");
    return dirs;
}

std::string CPlatformPaths::HomeDir() {
    std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir)
            home = entry->pw_dir;
    }
    return home.empty() ? "/" : WithTrailingSlash(home);
}

std::string CPlatformPaths::ConfigDir() {
    std::string base = EnvironmentValue("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    if (base.empty() || base[0] != '/')
        base = HomeDir() + ".config";
    return WithTrailingSlash(base) + "Orvandel/";
}

std::string CPlatformPaths::ProfilePath() {
    return ConfigDir() + "Wavsmith.ini";
}

std::string CPlatformPaths::CdPlayerIniPath() {
    return ConfigDir() + "CDPLAYER.INI";
}
