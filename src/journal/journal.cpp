#include "journal.h"

#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef ZORELAD_VERSION
#define ZORELAD_VERSION "unknown"
#endif

namespace zorelad {

namespace {

struct JournalMessages {
    Q_DECLARE_TR_FUNCTIONS(JournalMessages)
};

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void report(const QString &message)
{
    const QByteArray line = QByteArrayLiteral("zorelad: ") + message.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, line.size(), stderr);
}

// A file descriptor closed on every way out.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

QByteArray pathBytes(const QString &path) { return QFile::encodeName(path); }

bool readAll(int fd, off_t offset, qint64 size, QByteArray *out)
{
    out->resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, out->data() + done, size - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Opens a regular file only: a FIFO, a device or a folder in its place is
// left alone (opening without blocking, so that a FIFO cannot hold us up),
// and errno is ENOTSUP then.
int openRegular(const QString &path, int flags, int mode = 0)
{
    const int fd = ::open(pathBytes(path).constData(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0)
        return fd;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = ENOTSUP;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

QString failureAt(const QString &path, int error)
{
    return JournalMessages::tr("%1: %2").arg(path, error == ENOTSUP ? JournalMessages::tr("not a regular file, left alone")
                                                                    : systemError(error));
}

bool readFile(const QString &path, QByteArray *data)
{
    Fd fd(openRegular(path, O_RDONLY));
    struct stat st;
    return fd.valid() && ::fstat(fd.get(), &st) == 0 && readAll(fd.get(), 0, st.st_size, data);
}

// True when nothing is at the path; a path that holds something other than a
// regular file sets `failure`.
bool absent(const QString &path, QString *failure)
{
    struct stat st;
    if (::lstat(pathBytes(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    if (!S_ISREG(st.st_mode))
        *failure = failureAt(path, ENOTSUP);
    return false;
}

// Holds an flock on a small file beside the spool.
class Lock {
public:
    Lock(const QString &path, bool wait) : m_fd(openRegular(path, O_RDWR | O_CREAT, 0600))
    {
        if (m_fd.valid()) {
            int rc;
            do
                rc = ::flock(m_fd.get(), LOCK_EX | (wait ? 0 : LOCK_NB));
            while (rc != 0 && errno == EINTR);
            m_held = rc == 0;
        }
    }
    bool held() const { return m_held; }

private:
    Fd m_fd;
    bool m_held = false;
};

QString spoolLockFile(const JournalPaths &paths) { return paths.spool + QStringLiteral(".lock"); }
QString deliveryLockFile(const JournalPaths &paths) { return paths.spool + QStringLiteral(".delivery"); }
QString movingFile(const JournalPaths &paths) { return paths.spool + QStringLiteral(".moving"); }

// The whole records of a spool file, title line left out. A line cut short
// (the local disk filled up) or damaged is named and dropped on its own; the
// records after it are kept.
QByteArray spooledRecords(const QByteArray &data, const QString &path)
{
    QByteArray records;
    for (const RawRecord &raw : splitRecords(data)) {
        JournalRecord record;
        if (isTitleLine(raw.text) || raw.text == "\n")
            continue;
        if (!raw.complete || !parseJournalLine(raw.text, &record)) {
            report(JournalMessages::tr("%1: line %2 was cut short or damaged and is dropped").arg(path).arg(raw.line));
            continue;
        }
        records += raw.text;
    }
    return records;
}

// The records that the end of the folder file does not already hold: an
// earlier delivery may have written them and stopped before it could empty
// the spool. Every record carries its second, host and pupil, so a whole
// line that is already there is the same record.
QByteArray notYetDelivered(const QByteArray &records, const QByteArray &fileTail)
{
    QByteArray fresh;
    for (const RawRecord &raw : splitRecords(records)) {
        if (!fileTail.contains(QByteArray('\n' + raw.text)))
            fresh += raw.text;
    }
    return fresh;
}

// Appends to the folder file the records it does not hold yet.
QString appendMissing(const QString &folderFile, const QByteArray &records)
{
    if (records.isEmpty())
        return {};
    if (shareAccessHook)
        shareAccessHook(folderFile);
    QByteArray tail;
    {
        Fd fd(openRegular(folderFile, O_RDONLY));
        struct stat st;
        if (!fd.valid() && errno != ENOENT)
            return failureAt(folderFile, errno);
        if (fd.valid() && ::fstat(fd.get(), &st) == 0) {
            const qint64 want = qMin<qint64>(st.st_size, records.size() + 65536);
            if (!readAll(fd.get(), st.st_size - want, want, &tail))
                return failureAt(folderFile, errno);
        }
    }
    return appendToJournalFile(folderFile, notYetDelivered(records, tail), 0640);
}

QString deliverFile(const QString &path, const JournalPaths &paths)
{
    QByteArray data;
    if (!readFile(path, &data))
        return failureAt(path, errno);
    if (const QString failure = appendMissing(paths.folderFile, spooledRecords(data, path)); !failure.isEmpty())
        return failure;
    if (::unlink(pathBytes(path).constData()) != 0 && errno != ENOENT)
        return failureAt(path, errno);
    return {};
}

// A failed delivery puts its records back in front of those spooled since,
// so the spool stays one file in the order the levels were graded.
void returnToSpool(const JournalPaths &paths, const QString &moving)
{
    Lock spool(spoolLockFile(paths), true);
    QByteArray older, newer;
    if (!readFile(moving, &older))
        return;
    readFile(paths.spool, &newer);
    const QString fresh = paths.spool + QStringLiteral(".new");
    ::unlink(pathBytes(fresh).constData());
    const QByteArray records = spooledRecords(older, moving) + spooledRecords(newer, paths.spool);
    // If this stops half-way, the moving file is still there and the next
    // delivery starts from it; what it already wrote is not written twice.
    if (appendToJournalFile(fresh, records, 0600).isEmpty()
        && ::rename(pathBytes(fresh).constData(), pathBytes(paths.spool).constData()) == 0)
        ::unlink(pathBytes(moving).constData());
    else
        ::unlink(pathBytes(fresh).constData());
}

// Spools records on the user's own disk; empty on success.
QString spoolRecords(const JournalPaths &paths, const QByteArray &records)
{
    const QString dir = QFileInfo(paths.spool).absolutePath();
    if (!QDir().mkpath(dir))
        return JournalMessages::tr("%1: cannot create the folder").arg(dir);
    ::chmod(pathBytes(dir).constData(), 0700);
    Lock spool(spoolLockFile(paths), true);
    return appendToJournalFile(paths.spool, records, 0600);
}

} // namespace

std::function<void(const QString &)> shareAccessHook;

QString journalAccountName()
{
    const struct passwd *account = ::getpwuid(::geteuid());
    return journalFileName(account ? QString::fromLocal8Bit(account->pw_name) : QString::number(::geteuid()));
}

QString defaultSpoolFile()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/zorelad/pending.csv");
}

QString appendToJournalFile(const QString &path, const QByteArray &records, int mode)
{
    if (records.isEmpty())
        return {};
    Fd fd(openRegular(path, O_RDWR | O_APPEND | O_CREAT, mode));
    if (!fd.valid())
        return failureAt(path, errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return failureAt(path, errno);
    QByteArray bytes;
    if (st.st_size == 0) {
        ::fchmod(fd.get(), mode); // whatever the umask took away
        bytes = journalFileStart();
    } else {
        QByteArray last;
        if (readAll(fd.get(), st.st_size - 1, 1, &last) && last != "\n")
            bytes = "\n";
    }
    bytes += records;
    ssize_t written;
    do
        written = ::write(fd.get(), bytes.constData(), bytes.size());
    while (written < 0 && errno == EINTR);
    if (written != bytes.size())
        return JournalMessages::tr("%1: %2").arg(path,
                                                 written < 0 ? systemError(errno) : JournalMessages::tr("disk full"));
    // A network share may report a failed write only here or at close.
    if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0)
        return failureAt(path, errno);
    return {};
}

QString deliverSpool(const JournalPaths &paths)
{
    Lock delivery(deliveryLockFile(paths), false);
    if (!delivery.held())
        return {}; // another delivery of this user is under way and will take these records
    const QString moving = movingFile(paths);
    for (;;) {
        QString failure;
        if (absent(moving, &failure)) {
            if (!failure.isEmpty())
                return failure;
            // New records go on arriving in the spool while older ones are
            // delivered from the moving file; the spool lock is held only for
            // the rename, never while the share is written.
            Lock spool(spoolLockFile(paths), true);
            if (absent(paths.spool, &failure))
                return {};
            if (!failure.isEmpty())
                return failure;
            if (::rename(pathBytes(paths.spool).constData(), pathBytes(moving).constData()) != 0)
                return failureAt(paths.spool, errno);
        } else if (!failure.isEmpty()) {
            return failure;
        }
        failure = deliverFile(moving, paths);
        if (!failure.isEmpty()) {
            returnToSpool(paths, moving);
            return failure;
        }
    }
}

struct Journal::Worker {
    JournalPaths paths;
    std::mutex mutex;
    std::condition_variable wake;
    bool requested = false;
    bool busy = false;
    bool stop = false;
    QByteArray held; // records no spool would take, waiting for this thread

    // Records held in memory go to the spool if it takes them now, else
    // straight to the folder; what neither takes stays held.
    QString deliverHeld()
    {
        QByteArray records;
        {
            std::lock_guard<std::mutex> lock(mutex);
            records.swap(held);
        }
        if (records.isEmpty())
            return {};
        QString failure = spoolRecords(paths, records);
        if (!failure.isEmpty()) {
            const QString direct = appendMissing(paths.folderFile, records);
            if (direct.isEmpty())
                return {};
            failure = JournalMessages::tr("%1; %2").arg(failure, direct);
            std::lock_guard<std::mutex> lock(mutex);
            held.prepend(records);
        }
        return failure;
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return requested || stop; });
            if (stop)
                return;
            requested = false;
            busy = true;
            lock.unlock();
            if (const QString failure = deliverHeld(); !failure.isEmpty())
                report(JournalMessages::tr("journal kept in memory for now: %1").arg(failure));
            if (const QString failure = deliverSpool(paths); !failure.isEmpty())
                report(JournalMessages::tr("journal kept in %1 for now: %2").arg(paths.spool, failure));
            lock.lock();
            busy = false;
            wake.notify_all();
        }
    }
};

Journal::Journal(const JournalConfig &config, const QString &spoolFile) : m_enabled(config.enabled())
{
    if (!m_enabled)
        return;
    m_host = journalHostName(config);
    // One file per computer and account, so that no account can lock out or
    // write into another's file, and each file has one writer.
    m_paths.folderFile = QDir(config.folder).filePath(m_host + QLatin1Char('-') + journalAccountName() + QStringLiteral(".csv"));
    m_paths.spool = spoolFile;
    m_worker = std::make_shared<Worker>();
    m_worker->paths = m_paths;
    // The worker shares its state, not the journal: if the share hangs at
    // exit, it is left behind with everything it needs.
    std::thread([worker = m_worker] { worker->run(); }).detach();
}

Journal::~Journal()
{
    if (!m_worker)
        return;
    std::lock_guard<std::mutex> lock(m_worker->mutex);
    m_worker->stop = true;
    m_worker->wake.notify_all();
}

void Journal::record(const JournalRecord &record)
{
    if (!m_enabled)
        return;
    // Only the user's own disk is written here; the share is the worker's.
    // Behind records already held in memory, this one waits there too, so
    // that the records keep the order the levels were graded in.
    {
        std::lock_guard<std::mutex> lock(m_worker->mutex);
        if (!m_worker->held.isEmpty()) {
            m_worker->held += journalLine(record);
            m_worker->requested = true;
            m_worker->wake.notify_all();
            return;
        }
    }
    const QString failure = spoolRecords(m_paths, journalLine(record));
    if (!failure.isEmpty()) {
        report(JournalMessages::tr("journal kept in memory for now: %1").arg(failure));
        std::lock_guard<std::mutex> lock(m_worker->mutex);
        m_worker->held += journalLine(record);
    }
    deliverLater();
}

void Journal::deliverLater()
{
    if (!m_enabled)
        return;
    std::lock_guard<std::mutex> lock(m_worker->mutex);
    m_worker->requested = true;
    m_worker->wake.notify_all();
}

void Journal::waitUntilIdle()
{
    if (!m_enabled)
        return;
    std::unique_lock<std::mutex> lock(m_worker->mutex);
    m_worker->wake.wait(lock, [this] { return !m_worker->requested && !m_worker->busy; });
}

Journal &programJournal()
{
    static Journal journal = [] {
        QStringList problems;
        const JournalConfig config = readJournalConfig(defaultConfigFiles(), &problems);
        for (const QString &problem : problems)
            report(problem);
        return Journal(config, defaultSpoolFile());
    }();
    return journal;
}

void startJournal()
{
    installTranslations({QStringLiteral("zorelad-journal")});
    programJournal().deliverLater();
}

void journalGradedLevel(const QString &name, const QString &pupilClass, const GradedLevel &graded)
{
    Journal &journal = programJournal();
    if (!journal.enabled())
        return;
    JournalRecord record;
    record.time = QDateTime::currentDateTime();
    record.host = journal.host();
    record.name = name;
    record.pupilClass = pupilClass;
    record.level = graded.level;
    record.correct = graded.correct;
    record.grade = gradeWord(graded.band);
    record.version = QStringLiteral(ZORELAD_VERSION);
    record.answers = graded.answers;
    record.questions = graded.questions;
    journal.record(record);
}

} // namespace zorelad
