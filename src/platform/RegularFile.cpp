#include "platform/RegularFile.h"

#include "platform/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::FILE* Refuse(std::string* pstrError, std::string strReason) {
    if (pstrError != nullptr)
        *pstrError = std::move(strReason);
    return nullptr;
}
} // namespace

std::FILE* CRegularFile::OpenForReading(const std::string& strPath, std::string* pstrError) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Refuse(pstrError, CSystemError::Text(errno));
    // Reads from a regular file never block, so the flag can stay.
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return Refuse(pstrError, CSystemError::Text(error));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return Refuse(pstrError, S_ISDIR(status.st_mode) ? "a folder" : "not a regular file");
    }
    std::FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        const int error = errno;
        ::close(fd);
        return Refuse(pstrError, CSystemError::Text(error));
    }
    return stream;
}
