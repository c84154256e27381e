// One computer of a lab, as far as the journal goes: writes COUNT records
// for HOST through the program's own journal code into FOLDER, with its own
// spool, as fast as it can.
// Usage: journal_writer FOLDER HOST SPOOL COUNT

#include "journal.h"

#include <QCoreApplication>

using namespace zorelad;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    Journal journal({args[1], args[2]}, args[3]);
    for (int k = 1; k <= args[4].toInt(); ++k) {
        JournalRecord r;
        r.time = QDateTime::currentDateTime();
        r.host = journal.host();
        r.name = QStringLiteral("%1 учень %2").arg(args[2]).arg(k);
        r.pupilClass = QStringLiteral("7-В");
        r.level = 1 + k % 3;
        r.correct = k % 25;
        r.grade = QStringLiteral("Добре");
        r.version = QStringLiteral("test");
        journal.record(r);
    }
    journal.waitUntilIdle();
    journal.deliverLater();
    journal.waitUntilIdle();
    return 0;
}
