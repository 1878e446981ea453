#pragma once

#include <string>
#include <vector>

// Runs the real wavsmith-cli with the given arguments and captures what it printed.
struct SCliResult {
    int m_nExitCode = -1;
    std::string m_strOut;
    std::string m_strErr;
};

// `strLauncher`, when given, is a command line that starts the program, such as
// "timeout --preserve-status -s INT 1" to interrupt it after a second.
SCliResult RunCli(const std::vector<std::string>& args, const std::string& strWorkDir,
                  const std::string& strLauncher = "");
