#pragma once
// One line of the results journal: who finished which level, when, where and
// how well. The journal is CSV for a spreadsheet with a Ukrainian locale:
// UTF-8 with a byte order mark, ';' between fields, '"' around fields that
// need it, one record per physical line ending in '\n': a line break in a
// field is written as \n (a backslash as \\), and a field a spreadsheet would
// take for a formula (starting with =, +, -, @) gets a ' in front.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "gradeband.h"

namespace zorelad {

struct JournalRecord {
    QDateTime time; // local time, written with its offset from UTC
    QString host;   // the computer the level was played on
    QString name;   // the pupil's name and class exactly as shown
    QString pupilClass;
    int level = 0; // 1..3
    int correct = 0;
    int outOf = 24;
    QString grade;   // the grade word as the status bar shows it
    QString version; // of the program that wrote the record
    // The option chosen for each question in the order asked, 24 digits 1-3,
    // and the questions' fingerprints as asked (questionfile.h), 24 of them
    // run together; both empty in records of versions that did not keep them.
    QString answers;
    QString questions;
};

inline constexpr int JournalFields = 11;
inline constexpr int JournalFieldsWithoutAnswers = 9; // records of earlier versions
inline constexpr int QuestionsInLevel = 24;

// The start of every journal file: the byte order mark and the column titles.
QByteArray journalFileStart();

// The record as one complete CSV line, '\n' included.
QByteArray journalLine(const JournalRecord &record);

// Any fields as one such line: how every CSV this program writes is written.
QByteArray csvLine(const QStringList &fields);

// ISO 8601 with the offset from UTC: 2026-09-01T09:15:00+03:00.
QString journalTime(const QDateTime &time);

// The grade word the journal stores for a band ("відмінно", "Добре",
// "незадовільно").
QString gradeWord(GradeBand band);

// A file cut into lines, one record each. `text` is a line's bytes with its
// line end; `line` is its number in the file (1-based). A line whose line end
// is missing (a write cut short at the end of the file) is not complete.
struct RawRecord {
    QByteArray text;
    int line = 0;
    bool complete = false;
};
QList<RawRecord> splitRecords(const QByteArray &data);

// True when the raw record is the column-title line.
bool isTitleLine(const QByteArray &raw);

// Reads one complete raw record. Returns false for anything that is not a
// whole, well-formed record (wrong field count, bad time, level or count,
// text that is not UTF-8).
bool parseJournalLine(QByteArrayView raw, JournalRecord *record);

} // namespace zorelad
