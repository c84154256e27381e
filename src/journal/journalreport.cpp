#include "journalreport.h"

#include "gradeband.h"
#include "journalmatch.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace zorelad {

namespace {

struct JournalReport {
    Q_DECLARE_TR_FUNCTIONS(JournalReport)
};

constexpr qint64 ClockSlackMinutes = 10;
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
constexpr qsizetype ShownChars = 200;
constexpr qint64 SpoolAgeSeconds = 24 * 3600;

QString shownTime(const QDateTime &time) { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm")); }

QString escaped(const QString &text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return html;
}

// Column titles of the shown tables.
QStringList columnTitles()
{
    return {JournalReport::tr("Pupil"),   JournalReport::tr("Date and time"), JournalReport::tr("Level"),
            JournalReport::tr("Correct"), JournalReport::tr("Grade"),         JournalReport::tr("Computer")};
}

QStringList columns(const JournalRecord &r)
{
    return {shownField(r.name),       shownTime(r.time),
            QString::number(r.level), QStringLiteral("%1/%2").arg(r.correct).arg(r.outOf),
            shownField(r.grade),      shownField(r.host)};
}

} // namespace

QString summaryText(const ClassSummary &s)
{
    return JournalReport::tr("Pupils: %1; levels passed: %2 of %3; average correct: %4")
        .arg(s.pupils)
        .arg(s.passed)
        .arg(s.levels)
        .arg(QLocale().toString(s.averageCorrect, 'f', 1));
}

QString shownField(const QString &field)
{
    QString out;
    for (const QChar c : field) {
        if (out.size() >= ShownChars) {
            out += QChar(0x2026);
            break;
        }
        if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
                 || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QStringList journalFilesIn(const QString &folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

QStringList readJournal(const QStringList &files, const QStringList &spools,
                        const std::function<void(const JournalRecord &)> &take)
{
    QStringList problems;
    // A record read from a spool and from the folder is taken once: what is
    // kept of the lines seen is a hash of each, not the line.
    QSet<size_t> seen;
    JournalRecord record;
    for (const QString &path : files + spools) {
        const QFileInfo info(path);
        if (info.exists() && !info.isFile()) {
            problems.append(JournalReport::tr("%1: not a regular file, skipped").arg(path));
            continue;
        }
        if (info.size() > MaxFileBytes) {
            problems.append(JournalReport::tr("%1: larger than %2 MB, skipped").arg(path).arg(MaxFileBytes >> 20));
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problems.append(JournalReport::tr("%1: cannot be read: %2").arg(path, file.errorString()));
            continue;
        }
        const QByteArray data = file.readAll();
        QDateTime newest, oldest;
        int line = 0;
        for (qsizetype start = 0; start < data.size();) {
            ++line;
            const qsizetype end = data.indexOf('\n', start);
            const qsizetype next = end >= 0 ? end + 1 : data.size();
            const QByteArrayView raw = QByteArrayView(data).sliced(start, next - start);
            start = next;
            if (line == 1) {
                if (!isTitleLine(raw.toByteArray())) {
                    problems.append(JournalReport::tr("%1: not a journal file, skipped").arg(path));
                    break;
                }
                continue;
            }
            if (end < 0) {
                problems.append(JournalReport::tr("%1:%2: line cut short, skipped").arg(path).arg(line));
            } else if (!parseJournalLine(raw, &record)) {
                problems.append(JournalReport::tr("%1:%2: damaged line, skipped").arg(path).arg(line));
            } else {
                if (!newest.isValid() || record.time > newest)
                    newest = record.time;
                if (!oldest.isValid() || record.time < oldest)
                    oldest = record.time;
                const size_t hash = qHash(raw.endsWith("\r\n") ? raw.chopped(2) : raw.chopped(1), 0);
                if (!seen.contains(hash)) {
                    seen.insert(hash);
                    take(record);
                }
            }
        }
        // A spool holds records only until the folder takes them.
        if (spools.contains(path) && oldest.isValid() && oldest.secsTo(QDateTime::currentDateTime()) > SpoolAgeSeconds)
            problems.append(
                JournalReport::tr(
                    "%1: holds records since %2 not yet delivered; that computer cannot write to the folder")
                    .arg(path, shownTime(oldest)));
        // The newest record was written at the latest when the file last
        // changed, by the file server's clock; a record from later than that
        // comes from a computer whose clock is fast. (A slow clock cannot be
        // told apart from records that arrived late, or a file edited since.)
        const qint64 ahead = newest.isValid() ? info.lastModified().secsTo(newest) / 60 : 0;
        if (ahead > ClockSlackMinutes)
            problems.append(JournalReport::tr(
                                "%1: the newest record is %2 minutes later than the file; check that computer's clock")
                                .arg(path)
                                .arg(ahead));
    }
    return problems;
}

JournalReading readJournalFiles(const QStringList &files, const QStringList &spools)
{
    JournalReading reading;
    reading.problems = readJournal(files, spools, [&](const JournalRecord &r) { reading.records.append(r); });
    return reading;
}

bool recordPasses(const JournalRecord &r, const JournalFilter &filter)
{
    return (filter.pupilClass.isEmpty() || classKey(r.pupilClass) == classKey(filter.pupilClass))
        && (!filter.since.isValid() || r.time.date() >= filter.since) && (filter.level == 0 || r.level == filter.level);
}

QList<JournalRecord> selectRecords(const QList<JournalRecord> &records, const JournalFilter &filter)
{
    QList<JournalRecord> chosen;
    QSet<QByteArray> seen;
    for (const JournalRecord &r : records) {
        if (!recordPasses(r, filter))
            continue;
        const QByteArray line = journalLine(r);
        if (seen.contains(line))
            continue;
        seen.insert(line);
        chosen.append(r);
    }
    // Classes in their natural order (2-А before 10-А), names as a Ukrainian
    // reader sorts them; both as the reader compares them.
    QCollator collator(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(chosen.begin(), chosen.end(), [&](const JournalRecord &a, const JournalRecord &b) {
        if (const int c = collator.compare(classKey(a.pupilClass), classKey(b.pupilClass)))
            return c < 0;
        if (const int c = collator.compare(pupilKey(a.name), pupilKey(b.name)))
            return c < 0;
        return a.time < b.time;
    });
    return chosen;
}

QString whyNoRecords(const QList<JournalRecord> &records, const JournalFilter &filter)
{
    if (records.isEmpty() || !selectRecords(records, filter).isEmpty())
        return {};
    if (!filter.pupilClass.isEmpty() && selectRecords(records, {filter.pupilClass, {}, 0}).isEmpty()) {
        QStringList classes;
        for (const ClassSummary &summary : summarise(selectRecords(records, {})))
            classes << summary.pupilClass;
        return JournalReport::tr("No records of class %1; the classes in the journal: %2.")
            .arg(filter.pupilClass, classes.join(QStringLiteral(", ")));
    }
    if (filter.since.isValid() && selectRecords(records, {{}, filter.since, 0}).isEmpty())
        return JournalReport::tr("No records since %1.")
            .arg(QLocale(QLocale::Ukrainian).toString(filter.since, QStringLiteral("dd.MM.yyyy")));
    return JournalReport::tr("No records of level %1 for this choice.").arg(filter.level);
}

QList<ClassSummary> summarise(const QList<JournalRecord> &sorted)
{
    QList<ClassSummary> summaries;
    QSet<QString> pupils;
    int correct = 0;
    for (const JournalRecord &r : sorted) {
        if (summaries.isEmpty() || classKey(summaries.last().pupilClass) != classKey(r.pupilClass)) {
            summaries.append({r.pupilClass});
            pupils.clear();
            correct = 0;
        }
        ClassSummary &s = summaries.last();
        pupils.insert(pupilKey(r.name));
        s.pupils = pupils.size();
        ++s.levels;
        if (gradeBand(r.correct) == GradeBand::Good || gradeBand(r.correct) == GradeBand::Excellent)
            ++s.passed;
        correct += r.correct;
        s.averageCorrect = double(correct) / s.levels;
    }
    return summaries;
}

QByteArray journalCsv(const QList<JournalRecord> &sorted)
{
    QByteArray csv = journalFileStart();
    for (const JournalRecord &r : sorted)
        csv += journalLine(r);
    return csv;
}

QString journalHtml(const QList<JournalRecord> &sorted, const QString &title)
{
    QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n<style>\n"
            "body { font-family: 'Liberation Serif', serif; font-size: 11pt; margin: 1.5cm; }\n"
            "h1 { font-size: 16pt; } h2 { font-size: 13pt; margin: 1.2em 0 0.3em; }\n"
            "table { border-collapse: collapse; width: 100%; table-layout: fixed; page-break-inside: avoid; }\n"
            "th:nth-child(1) { width: 28%; } th:nth-child(2) { width: 19%; } th:nth-child(3) { width: 9%; }\n"
            "th:nth-child(4) { width: 13%; } th:nth-child(5) { width: 15%; } th:nth-child(6) { width: 16%; }\n"
            "td { overflow-wrap: anywhere; }\n"
            "th, td { border: 1px solid #444; padding: 2px 6px; text-align: left; }\n"
            "th { background: #ddd; } td.n { text-align: right; }\n"
            "p.summary { margin: 0.3em 0 0; font-style: italic; }\n"
            "@media print { body { margin: 0; } section { page-break-inside: avoid; } }\n"
            "</style></head><body>\n<h1>%1</h1>\n")
            .arg(escaped(title));
    if (sorted.isEmpty())
        html += QStringLiteral("<p>%1</p>\n").arg(escaped(JournalReport::tr("No records.")));
    const QList<ClassSummary> summaries = summarise(sorted);
    qsizetype next = 0;
    for (const ClassSummary &s : summaries) {
        html += QStringLiteral("<section>\n<h2>%1</h2>\n<table>\n<tr>")
                    .arg(escaped(JournalReport::tr("Class %1").arg(shownField(s.pupilClass))));
        for (const QString &column : columnTitles())
            html += QStringLiteral("<th>%1</th>").arg(escaped(column));
        html += QStringLiteral("</tr>\n");
        for (int i = 0; i < s.levels; ++i, ++next) {
            const QStringList cells = columns(sorted[next]);
            html += QStringLiteral("<tr>");
            for (qsizetype c = 0; c < cells.size(); ++c)
                html += QString::fromLatin1(c == 2 || c == 3 ? "<td class=\"n\">%1</td>" : "<td>%1</td>")
                            .arg(escaped(cells[c]));
            html += QStringLiteral("</tr>\n");
        }
        html += QStringLiteral("</table>\n<p class=\"summary\">%1</p>\n</section>\n").arg(escaped(summaryText(s)));
    }
    return html + QStringLiteral("</body></html>\n");
}

QString journalText(const QList<JournalRecord> &sorted)
{
    const QList<ClassSummary> summaries = summarise(sorted);
    QStringList titles = columnTitles();
    QList<qsizetype> widths;
    for (const QString &t : titles)
        widths.append(t.size());
    for (const JournalRecord &r : sorted) {
        const QStringList cells = columns(r);
        for (qsizetype c = 0; c < cells.size(); ++c)
            widths[c] = qMax(widths[c], cells[c].simplified().size());
    }
    auto row = [&](const QStringList &cells) {
        QStringList padded;
        for (qsizetype c = 0; c < cells.size(); ++c)
            padded.append(cells[c].simplified().leftJustified(widths[c]));
        return QStringLiteral("  ") + padded.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    };
    QString text;
    qsizetype next = 0;
    for (const ClassSummary &s : summaries) {
        text += JournalReport::tr("Class %1").arg(shownField(s.pupilClass)) + QLatin1Char('\n') + row(titles);
        for (int i = 0; i < s.levels; ++i, ++next)
            text += row(columns(sorted[next]));
        text += QStringLiteral("  ") + summaryText(s) + QStringLiteral("\n\n");
    }
    if (sorted.isEmpty())
        text = JournalReport::tr("No records.") + QLatin1Char('\n');
    return text;
}

} // namespace zorelad
