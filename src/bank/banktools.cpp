#include "banktools.h"

#include "banktext.h"
#include "failure.h"
#include "fonts.h"
#include "questionfit.h"
#include "questionfolder.h"
#include "translation.h"

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
} // namespace

QByteArray exportBank(const QString &folder)
{
    const QuestionFolder bank = questionFolderOf(folder);
    QList<QList<Question>> questions;
    for (int level : bank.levels) {
        questions.append(QList<Question>());
        for (const QuestionFileRead &file : readLevel(bank.textDir, level)) {
            // A file in another encoding is exported as the text it holds.
            if (!file.isRead())
                throw Failure(QDir::toNativeSeparators(file.path) + QStringLiteral(": ") + file.problem);
            questions.last().append(file.question);
        }
    }
    return formatBankText(questions, bank.levels.first());
}

int writeExport(const QByteArray &text, const QString &file, QTextStream &err)
{
    const QString failure = file.isEmpty() ? writeStandardOutput(text) : writeOutputFile(file, text);
    if (failure.isEmpty())
        return 0;
    err << (file.isEmpty() ? Tools::tr("Cannot write the standard output: %1").arg(failure) : failure) << '\n';
    return 1;
}

namespace {

// Where a text's levels go: below a Text folder, or, for a text of one
// level, into that level's own folder when it is named.
QString textFolderFor(const QString &target, const QList<int> &levels, QString *problem)
{
    const QuestionFolder folder = questionFolderOf(target);
    if (!folder.levelFolder || levels == folder.levels)
        return folder.textDir;
    *problem = Tools::tr("%1 is the folder of level %2; name the Text folder above it (%3) to import these levels")
                   .arg(QDir::toNativeSeparators(target))
                   .arg(folder.levels.first())
                   .arg(QDir::toNativeSeparators(folder.textDir));
    return {};
}

} // namespace

int importBank(const QString &file, const QString &target, QTextStream &out, QTextStream &err)
{
    QFile input;
    const bool opened = file == QLatin1String("-") ? input.open(stdin, QIODevice::ReadOnly)
                                                   : (input.setFileName(file), input.open(QIODevice::ReadOnly));
    if (!opened) {
        err << Tools::tr("Cannot open \"%1\": %2").arg(file, input.errorString()) << '\n';
        return 1;
    }
    QByteArray text;
    if (const QString refused = readBankText(input, file, &text); !refused.isEmpty()) {
        err << refused << '\n' << Tools::tr("No question file was changed.") << '\n';
        return 1;
    }
    BankText bank = parseBankText(text);
    for (const BankQuestion &q : bank.questions) {
        for (const QuestionProblem &p : checkQuestionFit(q.question))
            bank.problems.append({q.lines[p.line - 1], p.message});
    }
    QString targetProblem;
    const QString textDir = textFolderFor(target, bank.levels, &targetProblem);
    if (!targetProblem.isEmpty())
        bank.problems.append({0, targetProblem});
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
    QList<LevelFiles> levels;
    for (int level : bank.levels)
        levels.append({level, QList<QByteArray>(QuestionsPerLevel)});
    for (const BankQuestion &q : bank.questions)
        levels[bank.levels.indexOf(q.level)].files[q.number - 1] = encodeQuestionFile(q.question);
    try {
        writeLevels(textDir, levels);
    } catch (const Failure &failure) {
        err << failure.text() << '\n';
        return 1;
    }
    out << Tools::tr("Wrote %n question file(s) below %1.", nullptr, int(bank.questions.size()))
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
    installTranslations({QStringLiteral("zorelad-bank"), QStringLiteral("qtbase")});
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    const QString text = usage();
    if (standardOption(args, text, out))
        return 0;
    return body(args, text, out, err);
}

} // namespace zorelad
