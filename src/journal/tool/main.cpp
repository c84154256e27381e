// zorelad-journal FOLDER: the results journal of a class or a computer lab,
// every computer's file merged into one table.

#include "journal.h"
#include "journalreport.h"
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

// Reads the command line; returns an exit status when the program should stop there.
int parse(const QCoreApplication &app, Options *options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        JournalTool::tr("Merges the results journal of every computer in FOLDER into one table."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 JournalTool::tr("the journal folder (every *.csv in it is read)"));
    const QCommandLineOption classOption(QStringLiteral("class"), JournalTool::tr("only the class CLASS, as in 5-А"),
                                         JournalTool::tr("CLASS"));
    const QCommandLineOption sinceOption(QStringLiteral("since"),
                                         JournalTool::tr("only levels played on DATE or later (YYYY-MM-DD)"),
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
    parser.addOptions({classOption, sinceOption, levelOption, formatOption, outputOption, spoolOption, mineOption});
    parser.process(app);

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
        options->filter.since = QDate::fromString(parser.value(sinceOption), Qt::ISODate);
        if (!options->filter.since.isValid())
            return fail(
                JournalTool::tr("--since wants a date as YYYY-MM-DD, not \"%1\"").arg(parser.value(sinceOption)));
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
    installTranslations({QStringLiteral("zorelad-journal")});
    Options options;
    if (const int status = parse(app, &options); status >= 0)
        return status;

    const JournalReading reading = readJournalFiles(options.files, options.spools);
    QTextStream err(stderr);
    for (const QString &problem : reading.problems)
        err << problem << '\n';
    const QByteArray table = render(options, selectRecords(reading.records, options.filter));
    if (options.output.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(table) != table.size())
            return 1;
        return 0;
    }
    QFile out(options.output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(table) != table.size() || !out.flush()) {
        err << JournalTool::tr("%1: cannot be written: %2").arg(options.output, out.errorString()) << '\n';
        return 1;
    }
    return 0;
}
