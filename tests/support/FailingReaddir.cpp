#include "support/FailingReaddir.h"

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <dlfcn.h>

namespace {
// Negative: reads as usual.
std::atomic<int> g_nEntriesLeft{-1};
} // namespace

CFailingReaddir::CFailingReaddir(int nEntries) {
    g_nEntriesLeft = nEntries;
}

CFailingReaddir::~CFailingReaddir() {
    g_nEntriesLeft = -1;
}

// Stands in for the C library's readdir, which std::filesystem calls through the dynamic
// linker: a test program that uses CFailingReaddir gets this one.
extern "C" dirent* readdir(DIR* dir) {
    using Readdir = dirent* (*)(DIR*);
    static const auto real = reinterpret_cast<Readdir>(::dlsym(RTLD_NEXT, "readdir"));
    int left = g_nEntriesLeft.load();
    while (left >= 0 && !g_nEntriesLeft.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) {
        g_nEntriesLeft = 0;
        errno = EIO;
        return nullptr;
    }
    return real(dir);
}
