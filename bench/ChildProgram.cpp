#include "ChildProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

CChildProgram::SResult CChildProgram::Run(const std::vector<std::string>& args) {
    // A child must not inherit, and later write, what this process has not written yet.
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    SResult result;
    result.m_dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.m_bOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.m_nMaxRssKiB = usage.ru_maxrss;
    return result;
}

long long CChildProgram::CountInstructions(const std::vector<std::string>& args,
                                           const std::string& strOutFile) {
    std::vector<std::string> command = {"valgrind", "--tool=callgrind",
                                        "--callgrind-out-file=" + strOutFile};
    command.insert(command.end(), args.begin(), args.end());
    if (!Run(command).m_bOk)
        return -1;
    std::ifstream in(strOutFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("totals:", 0) == 0 || line.rfind("summary:", 0) == 0)
            return std::stoll(line.substr(line.find(':') + 1));
    }
    return -1;
}

double CChildProgram::Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
