#include "readfile.h"

#include "failure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorelad {

namespace {

// Closes the descriptor it owns when it goes; one owner, never copied.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { ::close(m_fd); }

private:
    int m_fd;
};

} // namespace

void readFileInChunks(const QString &path, const std::function<bool(const char *, qsizetype)> &consume)
{
    // Non-blocking, so that a named pipe in a file's place reads as empty
    // instead of hanging the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        failToOpenFile(path, errno);
    const FileDescriptor owner(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        failToOpenFile(path, errno);
    if (S_ISDIR(info.st_mode))
        failToOpenFile(path, EISDIR);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (got < 0)
            failToOpenFile(path, errno);
        if (got == 0 || !consume(buffer, got))
            return;
    }
}

} // namespace zorelad
