#include "questionfolder.h"

#include "failure.h"
#include "paths.h"
#include "readfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorelad {

namespace {

struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};
struct Check {
    Q_DECLARE_TR_FUNCTIONS(Check)
};

QString fileName(int number) { return QStringLiteral("%1.z").arg(number); }

QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return Check::tr("a named pipe");
    if (S_ISDIR(mode))
        return Check::tr("a folder");
    if (S_ISSOCK(mode))
        return Check::tr("a socket");
    if (S_ISLNK(mode))
        return Bank::tr("a symbolic link");
    return Check::tr("a device");
}

} // namespace

// The quiz's side.

QString questionFilePath(const QString &programDir, int level, int number)
{
    return questionPath(programDir + QStringLiteral("Text"), level, number);
}

QStringList readQuestionFile(const QString &path)
{
    QuestionLines collector;
    readFileInChunks(path, [&collector](const char *data, qsizetype size) { return collector.feed(data, size); });
    collector.finish();
    return collector.lines();
}

Question readQuestion(const QString &path) { return questionFromLines(readQuestionFile(path)); }

// Layout.

QString levelFolderPath(const QString &textDir, int level)
{
    return resolvePath(textDir + QStringLiteral("/%1").arg(level));
}

QString questionPath(const QString &textDir, int level, int number)
{
    const QString path = textDir + QStringLiteral("/%1/").arg(level) + fileName(number);
    // A path that exists as spelt needs no lookup of each component: it is
    // what the lookup would answer.
    const QString exact = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (QFileInfo::exists(exact))
        return exact;
    return resolvePath(path);
}

QuestionFolder questionFolderOf(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    const QString name = QFileInfo(clean).fileName();
    if ((name == QLatin1String("1") || name == QLatin1String("2") || name == QLatin1String("3"))
        && !QFileInfo::exists(resolvePath(clean + QStringLiteral("/1")))
        && !QFileInfo::exists(resolvePath(clean + QStringLiteral("/2")))
        && !QFileInfo::exists(resolvePath(clean + QStringLiteral("/3"))))
        return {QFileInfo(clean).path(), {name.toInt()}, true};
    return {clean, {1, 2, 3}, false};
}

// The teachers' side: reading.

QuestionFileRead inspectQuestionFile(const QString &path)
{
    QuestionFileRead file;
    file.path = path;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        file.status = errno == ENOENT ? QuestionFileRead::Missing : QuestionFileRead::Unreadable;
        file.problem =
            errno == ENOENT ? Check::tr("is missing") : Check::tr("cannot be opened: %1").arg(systemReason(errno));
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        file.status = QuestionFileRead::NotAFile;
        file.problem =
            Check::tr("is %1, not a file; the program would read no question from it").arg(kindOf(st.st_mode));
        return file;
    }
    if (st.st_size > MaxQuestionFileBytes) {
        ::close(fd);
        file.status = QuestionFileRead::TooLarge;
        file.problem = Bank::tr("is %1 KB; a question file is at most %2 KB")
                           .arg((st.st_size + 1023) / 1024)
                           .arg(MaxQuestionFileBytes / 1024);
        return file;
    }
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            file.status = QuestionFileRead::Unreadable;
            file.problem = Check::tr("cannot be read: %1").arg(systemReason(errno));
            ::close(fd);
            return file;
        }
        if (n == 0)
            break;
        file.bytes.append(buffer, n);
        if (file.bytes.size() > MaxQuestionFileBytes) // grew while read
            break;
    }
    ::close(fd);
    file.status = QuestionFileRead::Read;
    file.encoding = guessEncoding(file.bytes);
    file.question = decodeQuestion(file.bytes, file.encoding);
    file.lineCount = int(splitQuestionText(file.bytes).size());
    if (file.encoding != FileEncoding::Windows1251)
        file.problem = Bank::tr("is saved as %1, not windows-1251").arg(encodingName(file.encoding));
    else if (file.lineCount < QuestionFileLines)
        file.problem = Check::tr("has %n line(s); a question file needs five: the question, three options and the "
                                 "number of the right option",
                                 nullptr, file.lineCount);
    return file;
}

QList<QuestionFileRead> readLevel(const QString &textDir, int level)
{
    QList<QuestionFileRead> files;
    for (int number = 1; number <= QuestionsPerLevel; ++number)
        files << inspectQuestionFile(questionPath(textDir, level, number));
    return files;
}

// The teachers' side: writing.

namespace {

const QString NewPrefix = QStringLiteral(".zorelad-new-");
const QString OldPrefix = QStringLiteral(".zorelad-old-");

QByteArray bytesOf(const QString &path) { return QFile::encodeName(path); }

// Holds an exclusive flock on a folder while writers of it take turns.
class FolderLock {
public:
    explicit FolderLock(const QString &folder)
        : m_fd(::open(bytesOf(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0)
            throw Failure(cannotWrite(folder, systemReason(errno)));
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {}
    }
    ~FolderLock() { ::close(m_fd); }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    void sync() const { ::fsync(m_fd); }

private:
    int m_fd;
};

void syncFolder(const QString &folder)
{
    const int fd = ::open(bytesOf(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// What an interrupted write left below the Text folder: new folders never
// put in place or old ones never removed, an old folder set aside with its
// level missing (put back), and the hidden temporaries of single files.
void removeLeftovers(const QString &textDir)
{
    static const QRegularExpression aside(QStringLiteral("^\\.zorelad-old-([123])-"));
    static const QRegularExpression fileTemp(QStringLiteral("^\\.[0-9]+\\.[zZ]\\.[A-Za-z0-9]{6}$"));
    const QDir dir(textDir);
    for (const QString &name :
         dir.entryList({QStringLiteral(".zorelad-*")}, QDir::Dirs | QDir::Hidden | QDir::System)) {
        const QString path = dir.filePath(name);
        const auto match = aside.match(name);
        if (match.hasMatch()) {
            const QString level = levelFolderPath(textDir, match.captured(1).toInt());
            if (!QFileInfo::exists(level) && ::rename(bytesOf(path).constData(), bytesOf(level).constData()) == 0)
                continue;
        }
        if (name.startsWith(NewPrefix) || match.hasMatch())
            QDir(path).removeRecursively();
    }
    for (int level = 1; level <= Levels; ++level) {
        const QDir levelDir(levelFolderPath(textDir, level));
        for (const QString &name : levelDir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (fileTemp.match(name).hasMatch())
                ::unlink(bytesOf(levelDir.filePath(name)).constData());
        }
    }
}

// One level written aside, waiting to be put in place.
struct PreparedLevel {
    int level = 0;
    QString target;  // the level's folder, where it really lies
    QString written; // the new folder beside it
    bool exists = false;
};

// The entry of `dir` named `name` without regard to case, or `name`.
QString entryName(const QStringList &entries, const QString &name)
{
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

// Carries a file of the old folder over to the new one: the same file,
// linked, or where the file system has no links (a FAT memory stick) a copy.
void keepEntry(const QString &from, const QString &to)
{
    if (::link(bytesOf(from).constData(), bytesOf(to).constData()) == 0)
        return;
    const int error = errno;
    struct stat st {};
    QFile file(from);
    if (::lstat(bytesOf(from).constData(), &st) != 0 || !S_ISREG(st.st_mode) || !file.open(QIODevice::ReadOnly))
        throw Failure(cannotWrite(from, systemReason(error)));
    if (const QString reason = writeNewFile(to, file.readAll(), st.st_mode & 07777); !reason.isEmpty())
        throw Failure(cannotWrite(from, reason));
}

PreparedLevel prepareLevel(const QString &textDir, const LevelFiles &level, const DeviceFilter &filter)
{
    PreparedLevel prepared;
    prepared.level = level.level;
    prepared.target = levelFolderPath(textDir, level.level);
    struct stat st {};
    if (::lstat(bytesOf(prepared.target).constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        prepared.target = QFileInfo(prepared.target).canonicalFilePath();
        ::stat(bytesOf(prepared.target).constData(), &st);
    }
    prepared.exists = QFileInfo::exists(prepared.target);
    if (prepared.exists && !S_ISDIR(st.st_mode))
        throw Failure(cannotWrite(prepared.target, Bank::tr("it is %1, not a folder").arg(kindOf(st.st_mode))));
    const mode_t folderMode = prepared.exists ? (st.st_mode & 07777) : 0755;

    // What is in the old folder: the question files to replace or keep,
    // and anything else, which goes along into the new one.
    QStringList entries;
    if (prepared.exists)
        entries =
            QDir(prepared.target).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList questionNames;
    for (int number = 1; number <= QuestionsPerLevel; ++number)
        questionNames << entryName(entries, fileName(number));
    for (const QString &name : entries) {
        struct stat entry {};
        ::lstat(bytesOf(prepared.target + QLatin1Char('/') + name).constData(), &entry);
        const int number = int(questionNames.indexOf(name)) + 1;
        const bool replaced = number > 0 && number <= level.files.size() && !level.files[number - 1].isNull();
        if (S_ISDIR(entry.st_mode) || (replaced && !S_ISREG(entry.st_mode)))
            throw Failure(
                cannotWrite(prepared.target + QLatin1Char('/') + name,
                            Bank::tr("it is %1, which is never replaced; move it away").arg(kindOf(entry.st_mode))));
    }

    const QString parent = QFileInfo(prepared.target).absolutePath();
    QByteArray temp =
        bytesOf(parent + QLatin1Char('/') + NewPrefix + QString::number(level.level) + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(temp.data()))
        throw Failure(cannotWrite(parent, systemReason(errno)));
    prepared.written = QFile::decodeName(temp);
    try {
        if (::chmod(temp.constData(), folderMode) != 0)
            throw Failure(cannotWrite(prepared.written, systemReason(errno)));
        for (const QString &name : entries) {
            const int number = int(questionNames.indexOf(name)) + 1;
            if (number > 0 && number <= level.files.size() && !level.files[number - 1].isNull())
                continue;
            // Kept as it is: the same file, linked into the new folder.
            keepEntry(prepared.target + QLatin1Char('/') + name, prepared.written + QLatin1Char('/') + name);
        }
        for (int number = 1; number <= level.files.size() && number <= QuestionsPerLevel; ++number) {
            const QByteArray &bytes = level.files[number - 1];
            if (bytes.isNull())
                continue;
            const QString name = questionNames[number - 1];
            struct stat old {};
            const bool hadFile = ::stat(bytesOf(prepared.target + QLatin1Char('/') + name).constData(), &old) == 0;
            const QString path = prepared.written + QLatin1Char('/') + name;
            if (const QString reason = writeNewFile(path, bytes, hadFile ? (old.st_mode & 07777) : 0644, filter);
                !reason.isEmpty())
                throw Failure(cannotWrite(prepared.target + QLatin1Char('/') + name, reason));
        }
        syncFolder(prepared.written);
    } catch (...) {
        QDir(prepared.written).removeRecursively();
        throw;
    }
    return prepared;
}

// Puts a prepared level in place; returns the reason it failed, if it did.
QString putInPlace(const PreparedLevel &level)
{
    const QByteArray written = bytesOf(level.written), target = bytesOf(level.target);
    if (!level.exists)
        return ::rename(written.constData(), target.constData()) == 0 ? QString() : systemReason(errno);
    if (::renameat2(AT_FDCWD, written.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) == 0) {
        QDir(level.written).removeRecursively(); // now the old level
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return systemReason(errno);
    // No exchange here: the old folder aside, then the new one in place.
    QByteArray aside = bytesOf(QFileInfo(level.target).absolutePath() + QLatin1Char('/') + OldPrefix
                               + QString::number(level.level) + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(aside.data()) || ::rmdir(aside.constData()) != 0)
        return systemReason(errno);
    if (::rename(target.constData(), aside.constData()) != 0)
        return systemReason(errno);
    if (::rename(written.constData(), target.constData()) != 0) {
        const int error = errno;
        ::rename(aside.constData(), target.constData());
        return systemReason(error);
    }
    QDir(QFile::decodeName(aside)).removeRecursively();
    return {};
}

} // namespace

void writeLevels(const QString &textDir, const QList<LevelFiles> &levels, const DeviceFilter &filter)
{
    if (!QDir().mkpath(textDir))
        throw Failure(cannotWrite(textDir, Bank::tr("the folder cannot be created")));
    const FolderLock lock(textDir);
    removeLeftovers(textDir);
    QList<PreparedLevel> prepared;
    try {
        for (const LevelFiles &level : levels)
            prepared << prepareLevel(textDir, level, filter);
    } catch (const Failure &failure) {
        for (const PreparedLevel &level : prepared)
            QDir(level.written).removeRecursively();
        throw Failure(failure.text() + QLatin1Char('\n') + Bank::tr("No question file was changed."));
    }
    QList<int> done;
    for (qsizetype i = 0; i < prepared.size(); ++i) {
        if (const QString reason = putInPlace(prepared[i]); !reason.isEmpty()) {
            for (qsizetype j = i; j < prepared.size(); ++j)
                QDir(prepared[j].written).removeRecursively();
            QStringList names;
            for (int level : done)
                names << QString::number(level);
            throw Failure(
                cannotWrite(prepared[i].target, reason) + QLatin1Char('\n')
                + (done.isEmpty()
                       ? Bank::tr("No question file was changed.")
                       : Bank::tr("Only these levels were replaced: %1.").arg(names.join(QStringLiteral(", ")))));
        }
        done << prepared[i].level;
    }
    lock.sync();
}

} // namespace zorelad
