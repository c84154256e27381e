#pragma once
// The default printer as the CUPS scheduler knows it, and handing it a
// finished page. Qt alone says nothing when a queue refuses a job, so every
// step that can lose a job is checked here through libcups. No call waits
// for the scheduler longer than a few seconds.

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QPair>
#include <QString>

namespace zorelad {

struct PrinterTarget {
    QString name;  // queue name, without any instance
    int dpi = 300; // the resolution chosen for this printer
    QPageSize pageSize = QPageSize(QPageSize::Letter);
    // What the job carries: the user's own printing preferences for the
    // printer (lpoptions), with "media" set to the paper chosen.
    QList<QPair<QByteArray, QByteArray>> jobOptions;
};

// The user's default printer, ready to take a job, with its paper and
// resolution as CUPS defines the defaults for this user: the user's lpoptions
// first (media or PageSize; Resolution), then the queue's own defaults, then
// Letter and 300 dpi. Throws Failure with "There is no default printer
// currently selected" when none is chosen, and "Printer selected is not
// valid" when the chosen one does not exist, does not answer or rejects jobs.
// A stopped queue is fine: it keeps the job.
PrinterTarget defaultPrinterTarget();

// Sends a PDF file to the printer as one job with an empty name and returns
// the job's id. Throws "Printer selected is not valid" when no job is created.
int submitPdfJob(const PrinterTarget &printer, const QString &pdfPath);

// Whether a default destination is named by the user rather than the
// scheduler: LPDEST, PRINTER (other than "lp") or a "Default" line in the
// system or the user's lpoptions file.
bool userDefaultIsNamed();

// A resolution as CUPS options write it ("300dpi", "600x300dpi", "118dpcm"),
// in vertical dots per inch; 0 when the text is none of these or lies
// outside 72-9600 dpi.
int resolutionDpi(const QByteArray &text);

} // namespace zorelad
