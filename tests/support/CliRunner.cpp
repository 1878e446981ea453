#include "CliRunner.h"

#include "support/TestFiles.h"

#include <cstdlib>
#include <sys/wait.h>

#ifndef WAVSMITH_CLI_PATH
#error "WAVSMITH_CLI_PATH names the wavsmith-cli program under test"
#endif

namespace {
std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
} // namespace

SCliResult RunCli(const std::vector<std::string>& args, const std::string& strWorkDir,
                  const std::string& strLauncher) {
    std::string command = "cd " + ShellQuote(strWorkDir) + " && HOME=" + ShellQuote(strWorkDir) +
                          " XDG_CONFIG_HOME=" + ShellQuote(strWorkDir + "config") +
                          " XDG_DATA_HOME=" + ShellQuote(strWorkDir + ".local/share") + " " +
                          strLauncher + " " + ShellQuote(WAVSMITH_CLI_PATH);
    for (const std::string& arg : args)
        command += " " + ShellQuote(arg);
    const std::string outPath = strWorkDir + "cli.out";
    const std::string errPath = strWorkDir + "cli.err";
    command += " >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath) + " </dev/null";
    const int status = std::system(command.c_str());
    SCliResult result;
    result.m_nExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.m_strOut = ReadWholeFile(outPath);
    result.m_strErr = ReadWholeFile(errPath);
    return result;
}
