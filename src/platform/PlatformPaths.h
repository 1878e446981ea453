#pragma once

#include <string>
#include <vector>

// Where the program's files live. Every directory text ends with '/'.
//
// In the build folder everything sits beside the executables. An installed program
// lives in PREFIX/bin/ and finds its language files and help topics in
// PREFIX/share/wavsmith/ and the encoder library in PREFIX/lib/wavsmith/; it counts as
// installed when its directory is called bin/ and PREFIX/share/wavsmith/ exists.
class CPlatformPaths {
public:
    // Directory of the running executable.
    static std::string ProgramDir();
    // Language files and the help folder: DataDirOf(ProgramDir()).
    static std::string DataDir();
    // The help topics, one HTML page each.
    static std::string HelpDir();
    // Where the encoder library is looked for, in this order: LibraryDirsOf(ProgramDir()).
    static std::vector<std::string> LibraryDirs();
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

    // The layout rule for an executable in `strProgramDir`: PREFIX/share/wavsmith/ when
    // installed, else `strProgramDir` itself.
    static std::string DataDirOf(const std::string& strProgramDir);
    // `strProgramDir` first, then PREFIX/lib/wavsmith/ when it is a bin/ folder.
    static std::vector<std::string> LibraryDirsOf(const std::string& strProgramDir);
};
