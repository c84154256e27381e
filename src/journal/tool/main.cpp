// zorelad-journal FOLDER: the results journal of a class or a computer lab,
// every computer's file merged into one table.

#include "journal.h"
#include "journalmatch.h"
#include "journalreport.h"
#include "safewrite.h"
#include "translation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

using namespace zorelad;

namespace {

struct JournalTool {
    Q_DECLARE_TR_FUNCTIONS(JournalTool)
};

struct Options {
    QStringList files;
    QStringList spools;
    JournalFilter filter;
    QString format;
    QString output;
};

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
    return text + QLatin1Char('\n') + JournalTool::tr("FOLDER: the journal folder (every *.csv in it is read)")
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
    const QList<QCommandLineOption> all = {helpOption,   classOption,  sinceOption, levelOption,
                                           formatOption, outputOption, spoolOption, mineOption};
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
    if (parser.positionalArguments().size() != 1)
        return fail(JournalTool::tr("usage: zorelad-journal [options] FOLDER   (zorelad-journal --help)"));
    options->files = journalFilesIn(parser.positionalArguments().first());
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

    const JournalReading reading = readJournalFiles(options.files, options.spools);
    QTextStream err(stderr);
    for (const QString &problem : reading.problems)
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
