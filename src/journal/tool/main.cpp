// zorelad-journal FOLDER: the results journal of a class or a computer lab,
// every computer's file merged into one table, or the pupils' and the
// questions' reports made of it. --open makes both as one page and opens it
// in the desktop's browser.

#include "journal.h"
#include "journalmatch.h"
#include "journalreport.h"
#include "journalsummary.h"
#include "paths.h"
#include "safewrite.h"
#include "translation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zorelad;

namespace {

struct JournalTool {
    Q_DECLARE_TR_FUNCTIONS(JournalTool)
};

enum class Report { Records, Pupils, Questions, Open };

struct Options {
    QString folder;
    QStringList files;
    QStringList spools;
    JournalFilter filter;
    QString format;
    QString output;
    Report report = Report::Records;
    QString bank;              // the Text folder the questions' texts are read from
    QList<int> markThresholds; // from the settings
};

// A lesson is under way while its latest record is this recent: the opened
// page reloads itself meanwhile, and is written again as records arrive.
constexpr qint64 LessonSeconds = 45 * 60;
constexpr int RefreshSeconds = 10;

bool lessonUnderWay(const QDateTime &newest)
{
    return newest.isValid() && newest.secsTo(QDateTime::currentDateTime()) < LessonSeconds;
}

// The questions the program asks: the Text folder beside the program, as in
// the build tree and the program directory, else the school's own.
QString defaultBank()
{
    const QString beside = resolvePath(programDirectory() + QStringLiteral("Text"));
    return QDir(beside).exists() ? beside : QStringLiteral("/etc/zorelad/Text");
}

// The opened page lives where only this user can read it.
QString openedPagePath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir)) {
        dir = qEnvironmentVariable("XDG_CACHE_HOME");
        if (dir.isEmpty() || !QDir::isAbsolutePath(dir))
            dir = QDir::homePath() + QStringLiteral("/.cache");
    }
    return dir + QStringLiteral("/zorelad/results.html");
}

// The help in the teacher's language: Qt's own words for it ("Usage",
// "Options") are not in every catalogue.
QString helpText(const QList<QCommandLineOption> &options)
{
    QString text = JournalTool::tr("Usage: zorelad-journal [options] FOLDER") + QLatin1Char('\n')
        + JournalTool::tr("Merges the results journal of every computer in FOLDER into one table.")
        + QStringLiteral("\n\n") + JournalTool::tr("Options:") + QLatin1Char('\n');
    for (const QCommandLineOption &option : options) {
        QStringList names;
        for (const QString &name : option.names())
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString left = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            left += QStringLiteral(" <%1>").arg(option.valueName());
        text += left.leftJustified(24) + QLatin1Char(' ') + option.description() + QLatin1Char('\n');
    }
    return text + QLatin1Char('\n')
        + JournalTool::tr("FOLDER: the journal folder (every *.csv in it is read); with --open, the one in the "
                          "settings when left out")
        + QLatin1Char('\n');
}

// Reads the command line; returns an exit status when the program should stop there.
int parse(const QCoreApplication &app, Options *options)
{
    QCommandLineParser parser;
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        JournalTool::tr("show this help"));
    const QCommandLineOption classOption(QStringLiteral("class"), JournalTool::tr("only the class CLASS, as in 5-А"),
                                         JournalTool::tr("CLASS"));
    const QCommandLineOption sinceOption(
        QStringLiteral("since"),
        JournalTool::tr("only levels played on DATE or later (09.12.2026, 09.12 or 2026-12-09)"),
        JournalTool::tr("DATE"));
    const QCommandLineOption levelOption(QStringLiteral("level"), JournalTool::tr("only level N (1, 2 or 3)"),
                                         JournalTool::tr("N"));
    const QCommandLineOption formatOption(QStringLiteral("format"), JournalTool::tr("text (the default), csv or html"),
                                          JournalTool::tr("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          JournalTool::tr("write to FILE instead of the terminal"),
                                          JournalTool::tr("FILE"));
    const QCommandLineOption spoolOption(
        QStringLiteral("spool"),
        JournalTool::tr("also read FILE, a computer's spool of records not yet delivered (may be repeated)"),
        JournalTool::tr("FILE"));
    const QCommandLineOption mineOption(QStringLiteral("my-spool"), JournalTool::tr("also read this user's own spool"));
    const QCommandLineOption pupilsOption(QStringLiteral("pupils"),
                                          JournalTool::tr("one line per pupil and level: best result, mark, tries"));
    const QCommandLineOption questionsOption(
        QStringLiteral("questions"), JournalTool::tr("how each question of a level was answered, as it was asked"));
    const QCommandLineOption bankOption(QStringLiteral("bank"),
                                        JournalTool::tr("read the questions' texts from the Text folder FOLDER"),
                                        JournalTool::tr("FOLDER"));
    const QCommandLineOption openOption(
        QStringLiteral("open"),
        JournalTool::tr("write the pupils and the questions as a page and open it in the browser"));
    const QList<QCommandLineOption> all = {helpOption,   classOption,     sinceOption, levelOption,
                                           formatOption, outputOption,    spoolOption, mineOption,
                                           pupilsOption, questionsOption, bankOption,  openOption};
    parser.addOptions(all);
    parser.process(app);
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << helpText(all);
        return 0;
    }

    QTextStream err(stderr);
    auto fail = [&](const QString &message) {
        err << message << '\n';
        return 2;
    };
    QStringList settingsProblems;
    const JournalConfig config = readJournalConfig(defaultConfigFiles(), &settingsProblems);
    for (const QString &problem : settingsProblems)
        err << problem << '\n';
    options->markThresholds = config.markThresholds;
    if (int(parser.isSet(pupilsOption)) + parser.isSet(questionsOption) + parser.isSet(openOption) > 1)
        return fail(JournalTool::tr("choose one of --pupils, --questions and --open"));
    options->report = parser.isSet(openOption) ? Report::Open
        : parser.isSet(pupilsOption)           ? Report::Pupils
        : parser.isSet(questionsOption)        ? Report::Questions
                                               : Report::Records;
    options->bank = parser.isSet(bankOption) ? parser.value(bankOption) : defaultBank();
    QString folder = parser.positionalArguments().value(0);
    // The menu entry's page says itself what is missing: a teacher sees no
    // standard error.
    if (options->report == Report::Open && parser.positionalArguments().isEmpty())
        folder = config.folder;
    else if (parser.positionalArguments().size() != 1)
        return fail(JournalTool::tr("usage: zorelad-journal [options] FOLDER   (zorelad-journal --help)"));
    options->folder = folder;
    options->files = folder.isEmpty() ? QStringList() : journalFilesIn(folder);
    options->spools = parser.values(spoolOption);
    if (parser.isSet(mineOption))
        options->spools.append(defaultSpoolFile());
    options->filter.pupilClass = parser.value(classOption);
    if (parser.isSet(sinceOption)) {
        options->filter.since = parseTeacherDate(parser.value(sinceOption), QDate::currentDate());
        if (!options->filter.since.isValid())
            return fail(JournalTool::tr("--since wants a date as 09.12.2026, 09.12 or 2026-12-09, not \"%1\"")
                            .arg(parser.value(sinceOption)));
    }
    if (parser.isSet(levelOption)) {
        const QString level = parser.value(levelOption);
        if (level != QLatin1String("1") && level != QLatin1String("2") && level != QLatin1String("3"))
            return fail(JournalTool::tr("--level wants 1, 2 or 3, not \"%1\"").arg(level));
        options->filter.level = level.toInt();
    }
    options->format = parser.value(formatOption);
    if (!QStringList{QStringLiteral("text"), QStringLiteral("csv"), QStringLiteral("html")}.contains(options->format))
        return fail(JournalTool::tr("--format wants text, csv or html, not \"%1\"").arg(options->format));
    options->output = parser.value(outputOption);
    return -1;
}

// The pupils' and questions' reports, in one pass over the files.
// What keeps the folder from being read, if anything.
QStringList folderProblem(const QString &folder)
{
    if (folder.isEmpty())
        return {JournalTool::tr("No journal folder is set in the settings (zorelad.conf, [journal] folder=).")};
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return {JournalTool::tr("%1: no such folder, or it cannot be read.").arg(folder)};
    return {};
}

// `newest` is set to the time of the newest record chosen; `quiet` leaves
// out the messages on standard error, said already.
QByteArray summaries(const Options &options, QDateTime *newestChosen, bool quiet = false)
{
    PupilsReport pupils;
    QuestionsReport questions;
    QDateTime newest;
    const QDateTime latest = QDateTime::currentDateTime().addSecs(60);
    int taken = 0;
    QTextStream err(stderr);
    const QStringList problems = readJournal(options.files, options.spools, [&](const JournalRecord &r) {
        if (!recordPasses(r, options.filter))
            return;
        ++taken;
        // A record from later than now comes from a computer whose clock is
        // fast, and would keep the page reloading until its time came.
        if ((!newest.isValid() || r.time > newest) && r.time <= latest)
            newest = r.time;
        if (options.report != Report::Questions)
            pupils.add(r);
        if (options.report != Report::Pupils)
            questions.add(r);
    });
    *newestChosen = newest;
    QStringList notes = folderProblem(options.folder) + problems;
    if (taken == 0) {
        // Rarely wanted, so read again: which part of the choice emptied it.
        // That depends only on the class, on whether the day is early
        // enough and on the level, so one record of each such kind is kept.
        QHash<QString, JournalRecord> kinds;
        readJournal(options.files, options.spools, [&](const JournalRecord &r) {
            const bool early = options.filter.since.isValid() && r.time.date() < options.filter.since;
            kinds.insert(classKey(r.pupilClass) + QString::number(early) + QString::number(r.level), r);
        });
        if (const QString why = whyNoRecords(kinds.values(), options.filter); !why.isEmpty())
            notes.append(why);
    }
    for (const QString &note : quiet ? QStringList() : notes)
        err << note << '\n';
    const bool html = options.format == QLatin1String("html") || options.report == Report::Open;
    const bool csv = options.format == QLatin1String("csv") && options.report != Report::Open;
    if (options.report == Report::Pupils) {
        const QList<ClassPupils> classes = pupils.classes();
        return html
            ? resultsPage(JournalTool::tr("Pupils' results"), pupilsHtml(classes, options.markThresholds), false)
                  .toUtf8()
            : csv ? pupilsCsv(classes, options.markThresholds)
                  : pupilsText(classes, options.markThresholds).toLocal8Bit();
    }
    const QList<QuestionGroup> groups = questions.groups(bankTexts(options.bank));
    if (options.report == Report::Questions)
        return html ? resultsPage(JournalTool::tr("Questions"), questionsHtml(groups), false).toUtf8()
            : csv   ? questionsCsv(groups)
                    : questionsText(groups).toLocal8Bit();
    return resultsPage(JournalTool::tr("Zorelad results"),
                       notesHtml(notes) + pupilsHtml(pupils.classes(), options.markThresholds) + questionsHtml(groups),
                       lessonUnderWay(newest))
        .toUtf8();
}

// Writes the page where only this user reads it; empty on success.
QString writePage(const QString &path, const QByteArray &page)
{
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        return JournalTool::tr("%1: cannot create the folder").arg(dir);
    ::chmod(QFile::encodeName(dir).constData(), 0700);
    return writeOutputFile(path, page, 0600);
}

// What the journal's files look like from outside: names, sizes, times.
QString filesState(const QStringList &files)
{
    QString state;
    for (const QString &file : files) {
        const QFileInfo info(file);
        state += QStringLiteral("%1 %2 %3\n").arg(file).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
    }
    return state;
}

// While a lesson is under way, the page is written again whenever the
// journal's files change (looked at every RefreshSeconds: a network share
// tells no one), and once more, without reloading, when the lesson is over.
// One such writer per user: a later one leaves the page to it.
void keepPageFresh(Options options, const QString &path, QDateTime newest)
{
    const int lock =
        ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0)
        return;
    QString seen = filesState(options.files + options.spools);
    while (lessonUnderWay(newest)) {
        QThread::sleep(RefreshSeconds);
        options.files = journalFilesIn(options.folder);
        const QString state = filesState(options.files + options.spools);
        if (state == seen && lessonUnderWay(newest))
            continue;
        seen = state;
        if (!writePage(path, summaries(options, &newest, true)).isEmpty())
            return;
    }
}

// Writes the page, opens it in the browser and keeps it fresh.
int openPage(const Options &options)
{
    QTextStream err(stderr);
    QDateTime newest;
    const QString path = openedPagePath();
    if (const QString failure = writePage(path, summaries(options, &newest)); !failure.isEmpty()) {
        err << failure << '\n';
        return 1;
    }
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {path})) {
        err << JournalTool::tr("xdg-open could not be started; open %1 in a browser").arg(path) << '\n';
        return 1;
    }
    QTextStream(stdout) << path << Qt::endl;
    if (options.folder.isEmpty())
        return 2;
    keepPageFresh(options, path, newest);
    return 0;
}

QByteArray render(const Options &options, const QList<JournalRecord> &records)
{
    if (options.format == QLatin1String("csv"))
        return journalCsv(records);
    if (options.format == QLatin1String("html"))
        return journalHtml(records, JournalTool::tr("Results journal")).toUtf8();
    return journalText(records).toLocal8Bit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorelad-journal"));
    installTranslations({QStringLiteral("zorelad-journal"), QStringLiteral("qtbase")});
    Options options;
    if (const int status = parse(app, &options); status >= 0)
        return status;
    QTextStream err(stderr);
    if (options.report == Report::Open)
        return openPage(options);
    if (options.report != Report::Records) {
        QDateTime newest;
        const QByteArray report = summaries(options, &newest);
        const QString failure =
            options.output.isEmpty() ? writeStandardOutput(report) : writeOutputFile(options.output, report, 0640);
        if (!failure.isEmpty())
            err << failure << '\n';
        return failure.isEmpty() ? 0 : 1;
    }

    const JournalReading reading = readJournalFiles(options.files, options.spools);
    for (const QString &problem : folderProblem(options.folder) + reading.problems)
        err << problem << '\n';
    if (const QString why = whyNoRecords(reading.records, options.filter); !why.isEmpty())
        err << why << '\n';
    const QByteArray table = render(options, selectRecords(reading.records, options.filter));
    // What a teacher keeps of pupils' results is for her and her colleagues.
    const QString failure =
        options.output.isEmpty() ? writeStandardOutput(table) : writeOutputFile(options.output, table, 0640);
    if (!failure.isEmpty()) {
        err << failure << '\n';
        return 1;
    }
    return 0;
}
