#pragma once
// The default printer as the CUPS scheduler knows it, and handing it a
// finished page. Qt alone says nothing when a queue refuses a job, so every
// step that can lose a job is checked here through libcups.

#include <QByteArray>
#include <QPageSize>
#include <QString>

namespace zorelad {

struct PrinterTarget {
    QString name;          // queue name, without any instance
    int dpi = 300;         // the printer's own default resolution
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QByteArray media;      // the default media's name, passed on with the job
};

// The user's default printer, ready to take a job. Throws Failure with
// "There is no default printer currently selected" when none is chosen, and
// "Printer selected is not valid" when the chosen one no longer exists or its
// queue rejects jobs. A stopped queue is fine: it keeps the job.
PrinterTarget defaultPrinterTarget();

// Sends a PDF file to the printer as one job with an empty name and returns
// the job's id. Throws "Printer selected is not valid" when no job is created.
int submitPdfJob(const PrinterTarget &printer, const QString &pdfPath);

// Whether a default destination is named by the user rather than the
// scheduler: LPDEST, PRINTER (other than "lp") or a "Default" line in the
// system or the user's lpoptions file.
bool userDefaultIsNamed();

} // namespace zorelad
