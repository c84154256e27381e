#include "safewrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorelad {

namespace {

struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};

// fsync on a pipe or a terminal has nothing to do and says so.
bool syncNotApplicable(int error) { return error == EINVAL || error == EROFS || error == ENOTSUP; }

// Writes through a QFile on the descriptor (not owning it), or through the
// device the filter puts around that file.
QString writeToDescriptor(int fd, const QByteArray &bytes, const DeviceFilter &filter)
{
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return file.errorString();
    std::unique_ptr<QIODevice> wrapped = filter ? filter(&file) : nullptr;
    return writeAll(wrapped ? *wrapped : static_cast<QIODevice &>(file), bytes);
}

} // namespace

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString cannotWrite(const QString &path, const QString &reason)
{
    return Bank::tr("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

QString writeAll(QIODevice &device, const QByteArray &bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return device.errorString().isEmpty() ? systemReason(EIO) : device.errorString();
        done += n;
    }
    return {};
}

namespace {

// Fills a file just made and closes it; returns the reason it failed.
QString fillAndClose(int fd, const QByteArray &bytes, mode_t mode, const DeviceFilter &filter)
{
    QString reason = writeToDescriptor(fd, bytes, filter);
    if (reason.isEmpty() && ::fchmod(fd, mode) != 0)
        reason = systemReason(errno);
    if (reason.isEmpty() && ::fsync(fd) != 0)
        reason = systemReason(errno);
    // A network share may report a failed write only at close.
    if (::close(fd) != 0 && reason.isEmpty())
        reason = systemReason(errno);
    return reason;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

QString writeNewFile(const QString &path, const QByteArray &bytes, mode_t mode, const DeviceFilter &filter)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return systemReason(errno);
    const QString reason = fillAndClose(fd, bytes, mode, filter);
    if (!reason.isEmpty())
        ::unlink(name.constData());
    return reason;
}

QString writeOutputFile(const QString &path, const QByteArray &bytes, mode_t newMode)
{
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    const bool exists = ::stat(name.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return cannotWrite(path, Bank::tr("it is a folder"));
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or a pipe: written into, never replaced.
        const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return cannotWrite(path, systemReason(errno));
        QString reason = writeToDescriptor(fd, bytes, {});
        if (::fsync(fd) != 0 && !syncNotApplicable(errno) && reason.isEmpty())
            reason = systemReason(errno);
        if (::close(fd) != 0 && reason.isEmpty())
            reason = systemReason(errno);
        return reason.isEmpty() ? QString() : cannotWrite(path, reason);
    }
    // Through a symbolic link the file is replaced where it really lies.
    const QString target = exists ? QFileInfo(path).canonicalFilePath() : QFileInfo(path).absoluteFilePath();
    const QFileInfo targetInfo(target);
    QByteArray temp = QFile::encodeName(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName()
                                        + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return cannotWrite(target, systemReason(errno));
    QString reason = fillAndClose(fd, bytes, exists ? (st.st_mode & 07777) : newMode ? newMode : newFileMode(), {});
    if (reason.isEmpty() && ::rename(temp.constData(), QFile::encodeName(target).constData()) != 0)
        reason = systemReason(errno);
    if (!reason.isEmpty()) {
        ::unlink(temp.constData());
        return cannotWrite(target, reason);
    }
    return {};
}

QString writeStandardOutput(const QByteArray &bytes)
{
    QString reason = writeToDescriptor(STDOUT_FILENO, bytes, {});
    if (reason.isEmpty() && ::fsync(STDOUT_FILENO) != 0 && !syncNotApplicable(errno))
        reason = systemReason(errno);
    if (::close(STDOUT_FILENO) != 0 && reason.isEmpty())
        reason = systemReason(errno);
    return reason;
}

} // namespace zorelad
