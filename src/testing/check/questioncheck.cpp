#include "questioncheck.h"

#include "bank.h"
#include "paths.h"
#include "questionfile.h"
#include "questionfit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorelad {

namespace {

struct Check {
    Q_DECLARE_TR_FUNCTIONS(Check)
};

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

QString modeText(mode_t mode) { return QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0')); }

QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return Check::tr("a named pipe");
    if (S_ISDIR(mode))
        return Check::tr("a folder");
    if (S_ISSOCK(mode))
        return Check::tr("a socket");
    return Check::tr("a device");
}

// The command that turns a file in the wrong encoding into a good one: the
// exporter reads it in its real encoding, the importer writes it back.
QString fixCommand(const QString &path)
{
    const QString levelDir = QFileInfo(path).absolutePath();
    const QString textDir = QFileInfo(levelDir).absolutePath();
    const QString text = QStringLiteral("level%1.txt").arg(QFileInfo(levelDir).fileName());
    return QStringLiteral("zorelad-export %1 %2 && sudo zorelad-import %2 %3")
        .arg(native(levelDir), text, native(textDir));
}

QString encodingProblem(FileEncoding encoding, const QString &path)
{
    switch (encoding) {
    case FileEncoding::Utf16:
        return Check::tr("is saved as UTF-16, not windows-1251; to convert it: %1").arg(fixCommand(path));
    case FileEncoding::Utf8:
        return Check::tr("is saved as UTF-8, not windows-1251; to convert it: %1").arg(fixCommand(path));
    case FileEncoding::Utf8Bom:
        return Check::tr("is saved as UTF-8 with a byte order mark, not windows-1251; to convert it: %1")
            .arg(fixCommand(path));
    case FileEncoding::Koi8u:
        return Check::tr("is saved as KOI8-U, not windows-1251; to convert it: %1").arg(fixCommand(path));
    case FileEncoding::Windows1251:
        break;
    }
    return {};
}

QString lineProblem(int line, const QString &message) { return Check::tr("line %1: %2").arg(line).arg(message); }

// Reads a regular file without ever waiting on it: a pipe or a device in a
// question's place is named, not opened for reading.
bool readRegularFile(const QString &path, QByteArray *bytes, QString *problem)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *problem = errno == ENOENT
            ? Check::tr("is missing")
            : Check::tr("cannot be opened: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *problem = Check::tr("is %1, not a file; the program would read no question from it").arg(kindOf(st.st_mode));
        return false;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0 && bytes->size() < (1 << 20)) {
            bytes->append(buffer, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            const int error = errno;
            ::close(fd);
            if (n < 0)
                *problem = Check::tr("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
            return n >= 0;
        }
    }
}

} // namespace

QStringList unreadableByPupils(const QString &path)
{
    QStringList problems;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        current += QLatin1Char('/') + parts[i];
        struct stat st;
        if (::stat(QFile::encodeName(current).constData(), &st) != 0)
            break;
        const bool last = i + 1 == parts.size();
        if (S_ISDIR(st.st_mode) && !(st.st_mode & S_IXOTH))
            problems << Check::tr("%1: pupils cannot enter this folder (mode %2); to allow it: sudo chmod o+rx %1")
                            .arg(native(current), modeText(st.st_mode));
        else if (last && S_ISREG(st.st_mode) && !(st.st_mode & S_IROTH))
            problems << Check::tr("%1: pupils cannot read this file (mode %2); to allow it: sudo chmod o+r %1")
                            .arg(native(current), modeText(st.st_mode));
    }
    return problems;
}

QStringList checkQuestionFile(const QString &path, bool checkFit)
{
    QByteArray bytes;
    QString problem;
    if (!readRegularFile(path, &bytes, &problem))
        return {problem};
    if (const QString wrong = encodingProblem(guessEncoding(bytes), path); !wrong.isEmpty())
        return {wrong};
    const QStringList lines = splitQuestionText(bytes);
    QStringList problems;
    if (lines.size() < QuestionFileLines)
        problems << Check::tr("has %n line(s); a question file needs five: the question, three options and the "
                              "number of the right option",
                              nullptr, int(lines.size()));
    const Question question = questionFromLines(lines);
    QList<QuestionProblem> found = checkQuestion(question);
    if (checkFit)
        found += checkQuestionFit(question);
    std::stable_sort(found.begin(), found.end(),
                     [](const QuestionProblem &a, const QuestionProblem &b) { return a.line < b.line; });
    for (const QuestionProblem &p : found) {
        // A line the file does not have is counted above already.
        if (p.line <= lines.size()
            || (p.kind != QuestionProblem::EmptyOption && p.kind != QuestionProblem::EmptyQuestion
                && p.kind != QuestionProblem::BadAnswer))
            problems << lineProblem(p.line, p.message);
    }
    return problems;
}

QStringList checkQuestionFolder(const QString &folder, bool checkFit)
{
    const QString root = resolvePath(folder);
    if (!QFileInfo(root).isDir())
        return {Check::tr("%1: there is no such folder").arg(native(root))};
    bool anyLevel = false;
    for (int level = 1; level <= Levels; ++level)
        anyLevel = anyLevel || QFileInfo(resolvePath(root + QStringLiteral("/%1").arg(level))).isDir();
    if (!anyLevel) {
        const QString text = resolvePath(root + QStringLiteral("/Text"));
        if (QFileInfo(text).isDir())
            return {Check::tr("%1 is not a question folder, but it holds one; check that: zorelad-check %2")
                        .arg(native(root), native(text))};
        return {Check::tr("%1 holds no level folders 1, 2 and 3; name the folder that does, such as "
                          "/etc/zorelad/Text")
                    .arg(native(root))};
    }
    QStringList report;
    QSet<QString> reported;
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            const QString path = resolvePath(root + QStringLiteral("/%1/%2.z").arg(level).arg(number));
            for (const QString &problem : checkQuestionFile(path, checkFit))
                report << native(path) + QStringLiteral(": ") + problem;
            for (const QString &problem : unreadableByPupils(path)) {
                if (!reported.contains(problem))
                    report << problem;
                reported.insert(problem);
            }
        }
    }
    return report;
}

} // namespace zorelad
