#include "journalsummary.h"

#include "gradeband.h"
#include "journalconfig.h"
#include "journalmatch.h"
#include "questionfolder.h"

#include <QCollator>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocale>

#include <algorithm>

namespace zorelad {

namespace {

struct JournalSummary {
    Q_DECLARE_TR_FUNCTIONS(JournalSummary)
};

constexpr double GroupShare = 0.27; // the upper and lower groups of pupils
// Below this many answers the groups are one or two pupils each, and their
// difference says nothing about the question.
constexpr qsizetype MinAnswersToSeparate = 10;
constexpr qsizetype ShownQuestionChars = 70;

QString cached(QHash<QString, QString> &cache, const QString &typed, QString (*key)(const QString &))
{
    auto it = cache.constFind(typed);
    if (it == cache.constEnd())
        it = cache.insert(typed, key(typed));
    return *it;
}

QCollator ukrainianCollator()
{
    QCollator collator(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QString percent(double share) { return QStringLiteral("%1 %").arg(qRound(share * 100)); }

QString shownDate(const QDateTime &time) { return time.toString(QStringLiteral("dd.MM.yyyy HH:mm")); }

// A single line of text, cut to a length a table can hold.
QString oneLine(const QString &text, qsizetype length)
{
    const QString line = text.simplified();
    return line.size() > length ? line.left(length - 1) + QChar(0x2026) : line;
}

QString questionText(const QuestionLine &q)
{
    return q.text.isNull() ? JournalSummary::tr("(changed question)") : q.text;
}

QString checkWords() { return JournalSummary::tr("check the key or the wording"); }

QString spellingsNote(const PupilLevel &p)
{
    return p.otherSpellings.isEmpty()
        ? QString()
        : JournalSummary::tr("also written as: %1").arg(shownField(p.otherSpellings.join(QStringLiteral(", "))));
}

// Columns padded to their widest cell, as the plain-text tables show them.
QString textTable(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = qMax(widths[c], row[c].size());
        }
    }
    QString text;
    for (const QStringList &row : rows) {
        QStringList padded;
        for (qsizetype c = 0; c < row.size(); ++c)
            padded.append(row[c].leftJustified(widths[c]));
        text += QStringLiteral("  ") + padded.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    }
    return text;
}

QString escaped(const QString &text) { return text.toHtmlEscaped(); }

// A bar as wide as the share, drawn with CSS alone.
QString bar(double share, const QString &label)
{
    return QStringLiteral("<div class=\"bar\"><span style=\"width:%1%\"></span><em>%2</em></div>")
        .arg(qRound(share * 100))
        .arg(escaped(label));
}

QStringList pupilTitles()
{
    return {JournalSummary::tr("Pupil"), JournalSummary::tr("Level"), JournalSummary::tr("Best"),
            JournalSummary::tr("Mark"),  JournalSummary::tr("Tries"), JournalSummary::tr("Last played")};
}

QStringList pupilCells(const PupilLevel &p, const QList<int> &thresholds)
{
    return {shownField(p.name),
            QString::number(p.level),
            QStringLiteral("%1/%2").arg(p.best).arg(QuestionsInLevel),
            QString::number(twelvePointMark(p.best, thresholds)),
            QString::number(p.tries),
            shownDate(p.last)};
}

QStringList questionTitles()
{
    return {JournalSummary::tr("No."),      JournalSummary::tr("Right"),    JournalSummary::tr("Option 1"),
            JournalSummary::tr("Option 2"), JournalSummary::tr("Option 3"), JournalSummary::tr("Separation"),
            JournalSummary::tr("Question")};
}

QString optionCount(const QuestionLine &q, int option)
{
    return QString::number(q.chosen[option - 1]) + (q.rightOption == option ? QStringLiteral("*") : QString());
}

QString separation(const QuestionLine &q)
{
    return q.separates ? QLocale().toString(q.discrimination, 'f', 2) : QStringLiteral("—");
}

QString groupTitle(const QuestionGroup &g)
{
    return JournalSummary::tr("Level %1, questions as asked %2 (answered %3 times, last %4)")
        .arg(g.level)
        .arg(levelFingerprint(g.questions))
        .arg(g.records)
        .arg(shownDate(g.newest));
}

} // namespace

// ---- pupils ----

void PupilsReport::add(const JournalRecord &r)
{
    const QString classKeyed = cached(m_classKeys, r.pupilClass, classKey);
    const QString pupilKeyed = cached(m_pupilKeys, r.name, pupilKey);
    Class &c = m_classes[classKeyed];
    ClassSummary &s = c.pupils.summary;
    if (s.levels == 0)
        s.pupilClass = r.pupilClass;
    ++s.levels;
    if (gradeBand(r.correct) == GradeBand::Good || gradeBand(r.correct) == GradeBand::Excellent)
        ++s.passed;
    c.correct += r.correct;
    s.averageCorrect = double(c.correct) / s.levels;
    if (!c.pupils.newest.isValid() || r.time > c.pupils.newest)
        c.pupils.newest = r.time;

    auto lines = c.linesOf.find(pupilKeyed);
    if (lines == c.linesOf.end())
        lines = c.linesOf.insert(pupilKeyed, {-1, -1, -1});
    s.pupils = int(c.linesOf.size());
    qsizetype &at = (*lines)[r.level - 1];
    if (at < 0) {
        at = c.pupils.pupils.size();
        PupilLevel line;
        line.name = r.name;
        line.level = r.level;
        c.pupils.pupils.append(line);
    }
    PupilLevel &p = c.pupils.pupils[at];
    p.best = qMax(p.best, r.correct);
    ++p.tries;
    if (!p.last.isValid() || r.time > p.last)
        p.last = r.time;
    if (r.name != p.name && r.name.simplified() != p.name.simplified()
        && !p.otherSpellings.contains(r.name.simplified()))
        p.otherSpellings.append(r.name.simplified());
}

QList<ClassPupils> PupilsReport::classes() const
{
    QList<ClassPupils> classes;
    for (const Class &c : m_classes)
        classes.append(c.pupils);
    const QCollator collator = ukrainianCollator();
    std::sort(classes.begin(), classes.end(), [&](const ClassPupils &a, const ClassPupils &b) {
        if (a.newest != b.newest)
            return a.newest > b.newest;
        return collator.compare(a.summary.pupilClass, b.summary.pupilClass) < 0;
    });
    for (ClassPupils &c : classes) {
        std::sort(c.pupils.begin(), c.pupils.end(), [&](const PupilLevel &a, const PupilLevel &b) {
            if (const int order = collator.compare(m_pupilKeys.value(a.name), m_pupilKeys.value(b.name)))
                return order < 0;
            return a.level < b.level;
        });
    }
    return classes;
}

// ---- questions ----

BankTexts bankTexts(const QString &textDir)
{
    BankTexts texts;
    for (int level = 1; level <= Levels; ++level) {
        for (const QuestionFileRead &file : readLevel(textDir, level)) {
            if (file.isRead())
                texts[level].insert(questionFingerprint(file.question), file.question.text);
        }
    }
    return texts;
}

QString levelFingerprint(const QString &questions)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(questions.toLatin1(), QCryptographicHash::Sha1).left(4).toHex());
}

void QuestionsReport::add(const JournalRecord &r)
{
    if (r.answers.size() != QuestionsInLevel)
        return;
    Group &g = m_groups[QString::number(r.level) + r.questions];
    if (g.results.empty()) {
        g.level = r.level;
        g.questions = r.questions;
    }
    if (!g.newest.isValid() || r.time > g.newest)
        g.newest = r.time;
    quint32 right = 0;
    for (int i = 0; i < QuestionsInLevel; ++i) {
        const int chosen = r.answers.at(i).unicode() - '0';
        ++g.chosen[i][chosen - 1];
        if (r.questions.at(i * QuestionFingerprintChars).unicode() - '0' == chosen)
            right |= 1u << i;
    }
    g.results.push_back(quint32(r.correct) << 24 | right);
}

QList<QuestionGroup> QuestionsReport::groups(const BankTexts &bank) const
{
    QList<QuestionGroup> groups;
    for (const Group &g : m_groups) {
        QuestionGroup out{g.level, g.questions, int(g.results.size()), g.newest, {}};
        // The upper and lower 27 % of the answers by right answers in all.
        std::vector<quint32> byTotal = g.results;
        std::stable_sort(byTotal.begin(), byTotal.end(), [](quint32 a, quint32 b) { return a >> 24 < b >> 24; });
        const qsizetype n = qsizetype(byTotal.size());
        const qsizetype k = qMax<qsizetype>(1, qRound(n * GroupShare));
        const QHash<QString, QString> texts = bank.value(g.level);
        for (int i = 0; i < QuestionsInLevel; ++i) {
            QuestionLine q;
            q.number = i + 1;
            q.fingerprint = g.questions.mid(i * QuestionFingerprintChars, QuestionFingerprintChars);
            q.text = texts.value(q.fingerprint);
            q.rightOption = q.fingerprint.front().unicode() - '0';
            for (int option = 0; option < 3; ++option) {
                q.chosen[option] = g.chosen[i][option];
                q.answered += q.chosen[option];
            }
            q.separates = n >= MinAnswersToSeparate;
            if (q.separates) {
                int lower = 0, upper = 0;
                for (qsizetype j = 0; j < k; ++j) {
                    lower += (byTotal[j] >> i) & 1;
                    upper += (byTotal[n - 1 - j] >> i) & 1;
                }
                q.discrimination = double(upper - lower) / k;
            }
            // Most pupils on one wrong option, or the weak doing better than
            // the strong: the key or the wording is likely wrong.
            bool oneWrongOption = false;
            for (int option = 1; option <= 3; ++option)
                oneWrongOption |= option != q.rightOption && 2 * q.chosen[option - 1] > q.answered;
            q.check = oneWrongOption || (q.separates && q.discrimination < 0);
            out.lines.append(q);
        }
        groups.append(out);
    }
    std::sort(groups.begin(), groups.end(), [](const QuestionGroup &a, const QuestionGroup &b) {
        return a.newest != b.newest ? a.newest > b.newest : a.level < b.level;
    });
    return groups;
}

// ---- output ----

QString pupilsText(const QList<ClassPupils> &classes, const QList<int> &markThresholds)
{
    if (classes.isEmpty())
        return JournalSummary::tr("No records.") + QLatin1Char('\n');
    QString text;
    for (const ClassPupils &c : classes) {
        QList<QStringList> rows = {pupilTitles()};
        for (const PupilLevel &p : c.pupils)
            rows.append(pupilCells(p, markThresholds) << spellingsNote(p));
        text += JournalSummary::tr("Class %1").arg(shownField(c.summary.pupilClass)) + QLatin1Char('\n')
            + textTable(rows) + QStringLiteral("  ") + summaryText(c.summary) + QStringLiteral("\n\n");
    }
    return text;
}

QByteArray pupilsCsv(const QList<ClassPupils> &classes, const QList<int> &markThresholds)
{
    QByteArray csv = "\xEF\xBB\xBF"
        + csvLine(QStringList{JournalSummary::tr("Class")} + pupilTitles() << JournalSummary::tr("Note"));
    for (const ClassPupils &c : classes) {
        for (const PupilLevel &p : c.pupils) {
            // The spreadsheet keeps the name whole, and the best as a number.
            QStringList cells = pupilCells(p, markThresholds);
            cells[0] = p.name;
            cells[2] = QString::number(p.best);
            csv += csvLine(QStringList{c.summary.pupilClass} + cells << spellingsNote(p));
        }
    }
    return csv;
}

QString questionsText(const QList<QuestionGroup> &groups)
{
    if (groups.isEmpty())
        return JournalSummary::tr("No records with answers.") + QLatin1Char('\n');
    QString text;
    for (const QuestionGroup &g : groups) {
        QList<QStringList> rows = {questionTitles()};
        for (const QuestionLine &q : g.lines) {
            rows.append({QString::number(q.number), percent(q.shareRight()), optionCount(q, 1), optionCount(q, 2),
                         optionCount(q, 3), separation(q),
                         oneLine(questionText(q), ShownQuestionChars)
                             + (q.check ? QStringLiteral("  ← ") + checkWords() : QString())});
        }
        text += groupTitle(g) + QLatin1Char('\n') + textTable(rows) + QLatin1Char('\n');
    }
    return text
        + JournalSummary::tr("* the right option; separation: right answers among the strongest 27 % "
                             "less among the weakest 27 % of the answers.")
        + QLatin1Char('\n');
}

QByteArray questionsCsv(const QList<QuestionGroup> &groups)
{
    QByteArray csv = "\xEF\xBB\xBF"
        + csvLine({JournalSummary::tr("Level"), JournalSummary::tr("Questions as asked"), JournalSummary::tr("No."),
                   JournalSummary::tr("Question"), JournalSummary::tr("Right option"), JournalSummary::tr("Answers"),
                   JournalSummary::tr("Right"), JournalSummary::tr("Option 1"), JournalSummary::tr("Option 2"),
                   JournalSummary::tr("Option 3"), JournalSummary::tr("Separation"), JournalSummary::tr("Note")});
    for (const QuestionGroup &g : groups) {
        for (const QuestionLine &q : g.lines) {
            csv += csvLine({QString::number(g.level), levelFingerprint(g.questions), QString::number(q.number),
                            questionText(q), QString::number(q.rightOption), QString::number(q.answered),
                            percent(q.shareRight()), QString::number(q.chosen[0]), QString::number(q.chosen[1]),
                            QString::number(q.chosen[2]), separation(q), q.check ? checkWords() : QString()});
        }
    }
    return csv;
}

QString pupilsHtml(const QList<ClassPupils> &classes, const QList<int> &markThresholds)
{
    QString html = QStringLiteral("<h2>%1</h2>\n").arg(escaped(JournalSummary::tr("Pupils")));
    if (classes.isEmpty())
        html += QStringLiteral("<p>%1</p>\n").arg(escaped(JournalSummary::tr("No records.")));
    for (const ClassPupils &c : classes) {
        html += QStringLiteral("<section>\n<h3>%1</h3>\n<table>\n<tr>")
                    .arg(escaped(JournalSummary::tr("Class %1").arg(shownField(c.summary.pupilClass))));
        for (const QString &title : pupilTitles())
            html += QStringLiteral("<th>%1</th>").arg(escaped(title));
        html += QStringLiteral("</tr>\n");
        for (const PupilLevel &p : c.pupils) {
            const QStringList cells = pupilCells(p, markThresholds);
            const QString note = spellingsNote(p);
            html += QStringLiteral("<tr><td>%1%2</td><td class=\"n\">%3</td><td>%4</td><td class=\"n\">%5</td>"
                                   "<td class=\"n\">%6</td><td>%7</td></tr>\n")
                        .arg(escaped(oneLine(cells[0], 80)),
                             note.isEmpty() ? QString() : QStringLiteral("<br><small>%1</small>").arg(escaped(note)),
                             cells[1], bar(double(p.best) / QuestionsInLevel, cells[2]), cells[3], cells[4], cells[5]);
        }
        html +=
            QStringLiteral("</table>\n<p class=\"summary\">%1</p>\n</section>\n").arg(escaped(summaryText(c.summary)));
    }
    return html;
}

QString questionsHtml(const QList<QuestionGroup> &groups)
{
    QString html = QStringLiteral("<h2>%1</h2>\n").arg(escaped(JournalSummary::tr("Questions")));
    if (groups.isEmpty())
        html += QStringLiteral("<p>%1</p>\n").arg(escaped(JournalSummary::tr("No records with answers.")));
    for (const QuestionGroup &g : groups) {
        html += QStringLiteral("<section>\n<h3>%1</h3>\n<table class=\"q\">\n<tr>").arg(escaped(groupTitle(g)));
        for (const QString &title : questionTitles())
            html += QStringLiteral("<th>%1</th>").arg(escaped(title));
        html += QStringLiteral("</tr>\n");
        for (const QuestionLine &q : g.lines) {
            html += QStringLiteral("<tr%1><td class=\"n\">%2</td><td>%3</td>")
                        .arg(q.check ? QStringLiteral(" class=\"check\"") : QString())
                        .arg(q.number)
                        .arg(bar(q.shareRight(), percent(q.shareRight())));
            for (int option = 1; option <= 3; ++option) {
                const double share = q.answered ? double(q.chosen[option - 1]) / q.answered : 0;
                html += QStringLiteral("<td>%1</td>").arg(bar(share, optionCount(q, option)));
            }
            html +=
                QStringLiteral("<td class=\"n\">%1</td><td>%2%3</td></tr>\n")
                    .arg(separation(q), escaped(oneLine(questionText(q), 300)),
                         q.check ? QStringLiteral("<br><strong>%1</strong>").arg(escaped(checkWords())) : QString());
        }
        html += QStringLiteral("</table>\n</section>\n");
    }
    return html
        + QStringLiteral("<p class=\"summary\">%1</p>\n")
              .arg(escaped(JournalSummary::tr("* the right option; separation: right answers among the "
                                              "strongest 27 % less among the weakest 27 % of the answers.")));
}

QString notesHtml(const QStringList &notes)
{
    QString html;
    for (const QString &note : notes)
        html += QStringLiteral("<p class=\"note\">%1</p>\n").arg(escaped(note));
    return html;
}

QString resultsPage(const QString &title, const QString &sections, bool refresh)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">%2<title>%1</title>\n<style>\n"
               "body { font-family: 'Liberation Sans', sans-serif; font-size: 11pt; margin: 1cm; }\n"
               "h1 { font-size: 16pt; } h2 { font-size: 14pt; margin-top: 1.5em; } h3 { font-size: 12pt; }\n"
               "table { border-collapse: collapse; width: 100%; }\n"
               "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }\n"
               "th { background: #ddd; } td.n { text-align: right; }\n"
               "tr.check { background: #fde8e8; }\n"
               ".bar { position: relative; min-width: 6em; height: 1.3em; background: #eee; }\n"
               ".bar span { position: absolute; left: 0; top: 0; bottom: 0; background: #7cb3e0; }\n"
               ".bar em { position: relative; font-style: normal; padding-left: 4px; }\n"
               "p.summary { margin: 0.3em 0 0; font-style: italic; }\n"
               "p.note { background: #fff3cd; border: 1px solid #d9b44a; padding: 4px 8px; }\n"
               "</style></head><body>\n<h1>%1</h1>\n%3</body></html>\n")
        .arg(escaped(title), refresh ? QStringLiteral("<meta http-equiv=\"refresh\" content=\"10\">") : QString(),
             sections);
}

} // namespace zorelad
