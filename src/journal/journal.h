#pragma once
// The results journal of this computer. A graded level is first made safe in
// a local spool ($XDG_STATE_HOME/zorelad/pending.csv, readable by the user
// only) and then delivered to <folder>/<host>-<account>.csv on a worker thread, so a
// share that is away or hangs never holds up the quiz. Records wait in the
// spool until the folder takes them (or in memory, for the worker, when no
// spool can be written); each delivery skips what an earlier,
// interrupted delivery already wrote, so a record arrives once and in order.
// Failures go to stderr only.

#include "journalconfig.h"
#include "journalrecord.h"

#include <functional>
#include <memory>

namespace zorelad {

struct JournalPaths {
    QString folderFile; // <folder>/<host>-<account>.csv
    QString spool;      // pending.csv
};

// The account this program runs as, from the system, fit for a file name.
QString journalAccountName();

// Called by the delivery thread before it touches the folder file (tests make
// the share hang with it).
extern std::function<void(const QString &folderFile)> shareAccessHook;

// $XDG_STATE_HOME/zorelad/pending.csv, or ~/.local/state/zorelad/pending.csv.
QString defaultSpoolFile();

// Appends the bytes to the file in one write and flushes them to the disk,
// creating the file with the journal's column titles and `mode` if needed.
// A file whose last line was cut short gets a line end first, so the cut
// line stays a damaged line of its own. Returns an empty text on success,
// else what went wrong.
QString appendToJournalFile(const QString &path, const QByteArray &records, int mode);

// Moves every spooled record to the folder file. Returns an empty text when
// the spool is empty afterwards (or another delivery is already under way),
// else what kept the records in the spool.
QString deliverSpool(const JournalPaths &paths);

class Journal {
public:
    Journal(const JournalConfig &config, const QString &spoolFile);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    bool enabled() const { return m_enabled; }
    QString host() const { return m_host; }
    JournalPaths paths() const { return m_paths; }

    // Spools the record and asks the worker to deliver it.
    void record(const JournalRecord &record);
    // Asks the worker to deliver what an earlier run left in the spool.
    void deliverLater();
    // Waits until the worker has nothing more to do (for tests and the tool).
    void waitUntilIdle();

private:
    struct Worker;
    bool m_enabled = false;
    QString m_host;
    JournalPaths m_paths;
    std::shared_ptr<Worker> m_worker;
};

// The program's journal, configured from the standard files on first use;
// configuration problems are reported on stderr once.
Journal &programJournal();

// Opens the program's journal at start-up and delivers what an earlier run
// left in the spool.
void startJournal();

// Records a level just graded in the program's journal (nothing when off).
void journalGradedLevel(const QString &name, const QString &pupilClass, const GradedLevel &graded);

} // namespace zorelad
