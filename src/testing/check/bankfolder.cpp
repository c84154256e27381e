#include "bankfolder.h"

#include "failure.h"
#include "fonts.h"
#include "translation.h"
#include "paths.h"
#include "readfile.h"
#include "questionfit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zorelad {

namespace {
struct Tools {
    Q_DECLARE_TR_FUNCTIONS(Tools)
};

QString levelFile(const QString &textDir, int level, int number)
{
    return resolvePath(textDir + QStringLiteral("/%1/%2.z").arg(level).arg(number));
}
// A question file's bytes; a question file is small, so the first
// megabyte is all of any real one.
QByteArray readQuestionBytes(const QString &path)
{
    // A pipe in a question's place would never end; the checker names it.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw Failure(
            Tools::tr("\"%1\" is not a file; zorelad-check tells what it is").arg(QDir::toNativeSeparators(path)));
    QByteArray bytes;
    readFileInChunks(path, [&bytes](const char *data, qsizetype size) {
        bytes.append(data, size);
        return bytes.size() < (1 << 20);
    });
    return bytes;
}

} // namespace

QList<int> levelsOfFolder(const QString &folder, QString *textDir)
{
    const QString clean = QDir::cleanPath(folder);
    const QString name = QFileInfo(clean).fileName();
    if ((name == QLatin1String("1") || name == QLatin1String("2") || name == QLatin1String("3"))
        && !QFileInfo::exists(resolvePath(clean + QStringLiteral("/1")))) {
        *textDir = QFileInfo(clean).path();
        return {name.toInt()};
    }
    *textDir = clean;
    return {1, 2, 3};
}

QByteArray exportBank(const QString &folder)
{
    QString textDir;
    const QList<int> levels = levelsOfFolder(folder, &textDir);
    QList<QList<Question>> questions;
    for (int level : levels) {
        questions.append(QList<Question>());
        for (int n = 1; n <= QuestionsPerLevel; ++n)
            questions.last().append(decodeQuestion(readQuestionBytes(levelFile(textDir, level, n))));
    }
    return formatBankText(questions, levels.first());
}

int importBank(const QString &file, const QString &textDir, QTextStream &out, QTextStream &err)
{
    QFile input;
    const bool opened = file == QLatin1String("-") ? input.open(stdin, QIODevice::ReadOnly)
                                                   : (input.setFileName(file), input.open(QIODevice::ReadOnly));
    if (!opened) {
        err << Tools::tr("Cannot open \"%1\": %2").arg(file, input.errorString()) << '\n';
        return 1;
    }
    BankText bank = parseBankText(input.readAll());
    for (const BankQuestion &q : bank.questions) {
        for (const QuestionProblem &p : checkQuestionFit(q.question))
            bank.problems.append({q.lines[p.line - 1], p.message});
    }
    std::stable_sort(bank.problems.begin(), bank.problems.end(),
                     [](const TextRemark &a, const TextRemark &b) { return a.line < b.line; });
    auto print = [&](const TextRemark &r) {
        err << file;
        if (r.line > 0)
            err << ':' << r.line;
        err << ": " << r.message << '\n';
    };
    for (const TextRemark &note : bank.notes)
        print(note);
    for (const TextRemark &problem : bank.problems)
        print(problem);
    if (!bank.problems.isEmpty()) {
        err << Tools::tr("%n problem(s) found; no question file was changed.", nullptr, int(bank.problems.size()))
            << '\n';
        return 1;
    }
    QList<QuestionFileWrite> writes;
    for (int level : bank.levels) {
        const QString dir = resolvePath(textDir + QStringLiteral("/%1").arg(level));
        if (!QDir().mkpath(dir)) {
            err << Tools::tr("Cannot create the folder \"%1\"; no question file was changed.").arg(dir) << '\n';
            return 1;
        }
    }
    for (const BankQuestion &q : bank.questions)
        writes.append({levelFile(textDir, q.level, q.number), q.question});
    int replaced = 0;
    try {
        writeQuestionFiles(writes, &replaced);
    } catch (const Failure &failure) {
        err << failure.text() << '\n';
        if (replaced == 0)
            err << Tools::tr("No question file was changed.") << '\n';
        else
            err << Tools::tr("Only %n question file(s) were replaced; run the import again.", nullptr, replaced)
                << '\n';
        return 1;
    }
    out << Tools::tr("Wrote %n question file(s) below %1.", nullptr, int(writes.size()))
               .arg(QDir::toNativeSeparators(textDir))
        << '\n';
    return 0;
}

namespace {
// Run with sudo, Qt warns that there is no XDG_RUNTIME_DIR, which these
// tools never use; a teacher should not have to read that.
QtMessageHandler standardHandler = nullptr;

void dropRuntimeDirWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(QLatin1String("QStandardPaths: ")))
        standardHandler(type, context, message);
}
} // namespace

namespace {

bool standardOption(const QStringList &args, const QString &usage, QTextStream &out)
{
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << usage;
        return true;
    }
    if (args.contains(QLatin1String("--version"))) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return true;
    }
    return false;
}

} // namespace

int runTool(int argc, char **argv, const QString &name, const std::function<QString()> &usage, const ToolBody &body)
{
    // The tools measure texts with the quiz's widgets, without a screen.
    standardHandler = qInstallMessageHandler(dropRuntimeDirWarning);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    installFontSubstitutions();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORELAD_VERSION));
    installTranslations({QStringLiteral("zorelad-bank")});
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    const QString text = usage();
    if (standardOption(args, text, out))
        return 0;
    return body(args, text, out, err);
}

} // namespace zorelad
