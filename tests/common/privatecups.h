#pragma once
// A CUPS scheduler of the test's own: its configuration, spool and queues live
// in a temporary directory, it listens on a socket there, and this process is
// pointed at it (CUPS_SERVER, CUPS_SERVERROOT, a private HOME; PRINTER and
// LPDEST unset). Nothing of the machine's own CUPS is read or changed.
//
// libcups remembers HOME and CUPS_SERVERROOT the first time it is used in a
// thread, so create the fixture before anything in the process talks to CUPS
// (Qt's print support included), and keep one for the whole test run.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct PrivateCupsJob {
    int id = 0;
    QString queue;
    int state = 0; // ipp_jstate_t: 3 pending ... 9 completed
};

class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups &) = delete;
    PrivateCups &operator=(const PrivateCups &) = delete;

    bool isRunning() const { return m_running; }
    // What went wrong with the last step that failed.
    QString error() const { return m_error; }
    QString directory() const { return m_dir.path(); }
    QString socketPath() const { return m_dir.path() + QStringLiteral("/cups.sock"); }

    // Adds an enabled queue that accepts PDF and writes each job unchanged
    // to outputFile. dpi is the printer's default resolution (0: the PPD
    // states none); pageSize is "A4" or "Letter".
    bool addPdfQueue(const QString &name, const QString &outputFile, int dpi = 300,
                     const QString &pageSize = QStringLiteral("A4"));
    // The scheduler's default destination.
    bool setDefault(const QString &name);
    // The user's own choice in ~/.cups/lpoptions; an empty name removes it
    // and every other lpoptions setting.
    bool setUserDefault(const QString &name);
    bool rejectJobs(const QString &name);
    bool acceptJobs(const QString &name);
    bool stop(const QString &name); // the queue keeps new jobs without printing them
    bool start(const QString &name);
    bool deleteQueue(const QString &name); // the scheduler forgets it as default, too
    bool cancelJobs(const QString &name);
    // Stops and continues the scheduler itself (SIGSTOP, SIGCONT): a
    // scheduler that takes connections and never answers.
    bool freeze();
    bool thaw();

    // Every job the scheduler knows for a queue (all queues when empty),
    // finished ones included.
    QList<PrivateCupsJob> jobs(const QString &queue = QString()) const;
    // Waits until no job of the queue is pending or printing; false on timeout.
    bool waitForJobs(const QString &queue = QString(), int timeoutMs = 20000) const;

    // Runs one of the CUPS command-line tools against this scheduler.
    bool run(const QString &program, const QStringList &arguments);

private:
    bool writeConfiguration();
    bool writeFile(const QString &path, const QByteArray &contents);
    void pointProcessHere();
    void restoreEnvironment();
    bool startScheduler();
    bool schedulerAnswers();
    QString ppdFor(int dpi, const QString &pageSize);

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    bool m_running = false;
    QString m_error;
    struct SavedVariable {
        QByteArray name;
        bool wasSet = false;
        QByteArray value;
    };
    QList<SavedVariable> m_savedEnvironment;
    int m_ppdCount = 0;
};
