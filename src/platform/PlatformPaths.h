#pragma once

#include <string>

// Where the program's files live. Every directory text ends with '/'.
class CPlatformPaths {
public:
    // Directory of the running executable; language files and help sit there.
    static std::string ProgramDir();
    // The help topics, one HTML page each.
    static std::string HelpDir();
    // $XDG_CONFIG_HOME/Orvandel/ (default ~/.config/Orvandel/).
    static std::string ConfigDir();
    // The user's home directory; the default source and destination directory.
    static std::string HomeDir();
    // The per-user profile file.
    static std::string ProfilePath();
    // The CD Player database and FreeDB connection settings.
    static std::string CdPlayerIniPath();
    // `dir` with a '/' appended when it does not end in one; empty stays empty.
    static std::string WithTrailingSlash(std::string dir);
};
