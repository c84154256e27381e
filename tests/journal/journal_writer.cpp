// One lab computer, as far as the journal goes: writes COUNT records for
// HOST into FOLDER through the program's journal code and its own spool.
// Usage: journal_writer FOLDER HOST SPOOL COUNT

#include "journal.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    zorelad::Journal journal({args[1], args[2]}, args[3]);
    for (int k = 1; k <= args[4].toInt(); ++k)
        journal.record({QDateTime::currentDateTime(),
                        journal.host(),
                        QStringLiteral("%1 учень %2").arg(args[2]).arg(k),
                        QStringLiteral("7-В"),
                        1 + k % 3,
                        k % 25,
                        24,
                        QStringLiteral("Добре"),
                        QStringLiteral("test"),
                        {},
                        {}});
    journal.waitUntilIdle();
    journal.deliverLater(); // what arrived while the last delivery ran
    journal.waitUntilIdle();
    return 0;
}
