#include "platform/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::FILE* Refuse(int* pnError, int nError) {
    if (pnError != nullptr)
        *pnError = nError;
    return nullptr;
}
} // namespace

std::FILE* CRegularFile::OpenForReading(const std::string& strPath, int* pnError) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Refuse(pnError, errno);
    // Reads from a regular file never block, so the flag can stay.
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return Refuse(pnError, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return Refuse(pnError, S_ISDIR(status.st_mode) ? kFolder : kNotRegularFile);
    }
    std::FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        const int error = errno;
        ::close(fd);
        return Refuse(pnError, error);
    }
    return stream;
}
