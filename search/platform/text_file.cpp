#include "text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace search {

std::optional<TextFile> TextFile::open(const DriveMap &drives, const QString &path)
{
    const std::optional<QByteArray> host = drives.to_host(path);
    if (!host)
        return std::nullopt;

    // Look before opening: opening a device can have effects of its own.
    struct stat st;
    if (::stat(host->constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;

    // A FIFO put in the file's place meanwhile would block open(): open non-blocking,
    // then check the type again on the open handle.
    int fd;
    do {
        fd = ::open(host->constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return std::nullopt;
    TextFile file(fd);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0)
        return std::nullopt;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return file;
}

TextFile::TextFile(TextFile &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

TextFile &TextFile::operator=(TextFile &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

TextFile::~TextFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 TextFile::read(char *buffer, qint64 size)
{
    if (m_fd < 0 || size <= 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size_t(size));
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        // After a failure the file reads as ended.
        ::close(m_fd);
        m_fd = -1;
        return -1;
    }
}

bool delete_file(const DriveMap &drives, const QString &path)
{
    const std::optional<QByteArray> host = drives.to_host(path);
    if (!host)
        return false;
    struct stat st;
    if (::lstat(host->constData(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return false;
    // unlink() never removes a folder, so a name that became one meanwhile is refused.
    return ::unlink(host->constData()) == 0;
}

}  // namespace search
