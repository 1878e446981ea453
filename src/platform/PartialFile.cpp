#include "platform/PartialFile.h"

#include "platform/Text.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Room for the dot, the number and the suffix within a name of at most 255 bytes.
constexpr size_t kMaxKeptNameBytes = 200;
constexpr int kMaxAttempts = 100;

// The start of `name`, cut before a UTF-8 character that does not fit.
std::string_view NameStart(std::string_view name) {
    if (name.size() <= kMaxKeptNameBytes)
        return name;
    size_t size = kMaxKeptNameBytes;
    while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80)
        --size;
    return name.substr(0, size);
}

std::atomic<unsigned> g_nNextNumber{0};
} // namespace

CPartialFile::~CPartialFile() {
    Discard();
}

bool CPartialFile::Create(const std::string& strFinalPath) {
    Discard();
    m_strFinalPath = strFinalPath;
    const std::string directory(CText::DirectoryPart(strFinalPath));
    const std::string_view name = NameStart(CText::FileNamePart(strFinalPath));
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const std::string path =
            directory + "." + std::string(name) +
            CText::Format(".%d-%u.part", static_cast<int>(::getpid()), g_nNextNumber.fetch_add(1));
        // 0666 before the user's umask, as any new file gets.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return false;
        m_pStream = ::fdopen(fd, "wb");
        if (m_pStream == nullptr) {
            const int error = errno;
            ::close(fd);
            ::unlink(path.c_str());
            errno = error;
            return false;
        }
        m_strTemporaryPath = path;
        return true;
    }
    errno = EEXIST;
    return false;
}

bool CPartialFile::Close() {
    std::FILE* stream = m_pStream;
    m_pStream = nullptr;
    return stream == nullptr || std::fclose(stream) == 0;
}

bool CPartialFile::Commit() {
    if (m_strTemporaryPath.empty()) {
        errno = EBADF;
        return false;
    }
    if (!Close())
        return false;
    // On the disk before it takes the final name, so that a crash of the whole system
    // cannot leave an empty file there either.
    const int fd = ::open(m_strTemporaryPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced) {
        errno = error;
        return false;
    }
    if (::rename(m_strTemporaryPath.c_str(), m_strFinalPath.c_str()) != 0)
        return false;
    m_strTemporaryPath.clear();
    return true;
}

void CPartialFile::Discard() {
    const int error = errno;
    Close();
    if (!m_strTemporaryPath.empty())
        ::unlink(m_strTemporaryPath.c_str());
    m_strTemporaryPath.clear();
    errno = error;
}
