#include "questioncheck.h"

#include "paths.h"
#include "questionfit.h"
#include "questionfolder.h"
#include "questionrules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace zorelad {

namespace {

struct Check {
    Q_DECLARE_TR_FUNCTIONS(Check)
};

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

QString modeText(mode_t mode) { return QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0')); }

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

QString lineProblem(int line, const QString &message) { return Check::tr("line %1: %2").arg(line).arg(message); }

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

namespace {

QStringList fileProblems(const QuestionFileRead &file, bool checkFit)
{
    if (!file.isRead())
        return {file.problem};
    if (file.encoding != FileEncoding::Windows1251)
        return {Check::tr("%1; to convert it: %2").arg(file.problem, fixCommand(file.path))};
    QStringList problems;
    if (!file.problem.isEmpty())
        problems << file.problem;
    QList<QuestionProblem> found = checkQuestion(file.question);
    if (checkFit)
        found += checkQuestionFit(file.question);
    std::stable_sort(found.begin(), found.end(),
                     [](const QuestionProblem &a, const QuestionProblem &b) { return a.line < b.line; });
    for (const QuestionProblem &p : found) {
        // A line the file does not have is counted above already.
        if (p.line <= file.lineCount
            || (p.kind != QuestionProblem::EmptyOption && p.kind != QuestionProblem::EmptyQuestion
                && p.kind != QuestionProblem::BadAnswer))
            problems << lineProblem(p.line, p.message);
    }
    return problems;
}

} // namespace

QStringList checkQuestionFile(const QString &path, bool checkFit)
{
    return fileProblems(inspectQuestionFile(path), checkFit);
}

QStringList checkQuestionFolder(const QString &folder, bool checkFit)
{
    const QString root = resolvePath(folder);
    if (!QFileInfo(root).isDir())
        return {Check::tr("%1: there is no such folder").arg(native(root))};
    bool anyLevel = false;
    for (int level = 1; level <= Levels; ++level)
        anyLevel = anyLevel || QFileInfo(levelFolderPath(root, level)).isDir();
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
    QList<Question> asked;
    QStringList askedPaths;
    for (int level = 1; level <= Levels; ++level) {
        for (const QuestionFileRead &file : readLevel(root, level)) {
            for (const QString &problem : fileProblems(file, checkFit))
                report << native(file.path) + QStringLiteral(": ") + problem;
            for (const QString &problem : unreadableByPupils(file.path)) {
                if (!reported.contains(problem))
                    report << problem;
                reported.insert(problem);
            }
            if (file.isRead()) {
                asked << file.question;
                askedPaths << file.path;
            }
        }
    }
    for (const SameQuestion &same : sameQuestions(asked))
        report << native(askedPaths[same.index]) + QStringLiteral(": ")
                + Check::tr("the same question as in %1").arg(native(askedPaths[same.earlier]));
    return report;
}

} // namespace zorelad
