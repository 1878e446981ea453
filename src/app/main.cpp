// wavsmith: the desktop program.
#include "app/WavsmithApp.h"

#include <QApplication>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {
constexpr int kExitSuccess = 0;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = R"(Usage: wavsmith [OPTIONS] [FILE|FOLDER]...

Opens the Wavsmith window. WAV files given are added to the file list as Open File(s)
adds them; a folder given is opened as Open Directory opens it. With files or folders
given, the list holds just these, not the WAV files of the last source folder.

Options:
  -h, --help            Show this text
  --version             Show the program's version
  --                    Take every argument after it as a file or folder

Qt's own options, such as -platform NAME, -style NAME and -display DISPLAY, are
accepted as well. wavsmith-cli does the same work without a window.
)";

// --help and --version are answered before Qt looks for a display, so they work on a
// terminal without one.
std::optional<int> AnswerWithoutWindow(int argc, char* argv[]) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return kExitSuccess;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "wavsmith " WAVSMITH_VERSION "\n";
            return kExitSuccess;
        }
    }
    return std::nullopt;
}

// The files and folders left in argv once Qt has taken its own options out, as the bytes
// the file system names them by; nullopt after reporting an option nobody knows.
std::optional<std::vector<std::string>> StartPaths(int argc, char* argv[]) {
    std::vector<std::string> paths;
    bool bOptionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!bOptionsEnded && argument == "--") {
            bOptionsEnded = true;
        } else if (!bOptionsEnded && argument.size() > 1 && argument[0] == '-') {
            std::cerr << "wavsmith: unknown option " << argument << "\nTry 'wavsmith --help'.\n";
            return std::nullopt;
        } else {
            paths.push_back(argument);
        }
    }
    return paths;
}
} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = AnswerWithoutWindow(argc, argv))
        return *status;
    // Takes Qt's own options out of argc and argv.
    QApplication application(argc, argv);
    const std::optional<std::vector<std::string>> paths = StartPaths(argc, argv);
    if (!paths)
        return kExitUsage;
    CWavsmithApp app;
    return app.Run(*paths);
}
