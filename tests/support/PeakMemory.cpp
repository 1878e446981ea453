// peak_memory FILE PROGRAM [ARGUMENT...]: runs the program and writes its peak resident
// size in KiB to FILE. A test bounding a program's memory starts it through this small
// process: a child forked straight from the test process counts the test's own pages.
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (argc < 3)
        return 2;
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(argv[2], argv + 2);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return 2;
    if (std::FILE* file = std::fopen(argv[1], "w")) {
        std::fprintf(file, "%ld\n", usage.ru_maxrss);
        std::fclose(file);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
