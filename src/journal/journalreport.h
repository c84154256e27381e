#pragma once
// Reading journal files back: every computer's file of a folder merged into
// one table, filtered and sorted, and written as CSV, a printable HTML page
// or a plain-text table.

#include "journalrecord.h"

#include <QDate>
#include <QStringList>

#include <functional>

namespace zorelad {

struct JournalReading {
    QList<JournalRecord> records;
    QStringList problems; // damaged lines and foreign files, with file and line
};

// Reads the files, then the spools, one after another. A file that is not a
// regular file, is larger than 64 MB or does not start with the journal's
// column titles is named and skipped; a damaged or impossible line is named
// and skipped; the rest is read. A spool holding records older than a day is
// named: its computer stopped delivering.
JournalReading readJournalFiles(const QStringList &files, const QStringList &spools = {});

// The same reading, one pass: each record, once, is handed to `take` as it is
// read and not kept; returns the problems.
QStringList readJournal(const QStringList &files, const QStringList &spools,
                        const std::function<void(const JournalRecord &)> &take);

// Every *.csv of the folder, sorted by name.
QStringList journalFilesIn(const QString &folder);

struct JournalFilter {
    QString pupilClass; // empty: every class
    QDate since;        // invalid: from the start
    int level = 0;      // 0: every level
};

// Whether the filter lets the record through.
bool recordPasses(const JournalRecord &record, const JournalFilter &filter);

// The records the filter lets through, each once (a record read from a
// spool and from the folder counts once), sorted by class, name and time.
QList<JournalRecord> selectRecords(const QList<JournalRecord> &records, const JournalFilter &filter);

// When the filter lets no record through: which of its parts emptied the
// table, with the classes that are there; empty when nothing was filtered
// or something was let through.
QString whyNoRecords(const QList<JournalRecord> &records, const JournalFilter &filter);

struct ClassSummary {
    QString pupilClass;
    int pupils = 0;
    int levels = 0;
    int passed = 0;
    double averageCorrect = 0;
};

// One summary per class, in the order of the (sorted) records.
QList<ClassSummary> summarise(const QList<JournalRecord> &sorted);

// The summary's line under a class, as every report writes it.
QString summaryText(const ClassSummary &summary);

// A field as the tables show it: control characters escaped, so that no
// field can draw rows of its own, and cut to 200 characters.
QString shownField(const QString &field);

QByteArray journalCsv(const QList<JournalRecord> &sorted);
// The tables show fields with control characters escaped and cut to 200
// characters; the CSV keeps them whole.
QString journalHtml(const QList<JournalRecord> &sorted, const QString &title);
QString journalText(const QList<JournalRecord> &sorted);

} // namespace zorelad
