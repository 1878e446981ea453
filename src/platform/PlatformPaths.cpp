#include "platform/PlatformPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {
std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
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

std::string CPlatformPaths::HelpDir() {
    return ProgramDir() + "help/";
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
