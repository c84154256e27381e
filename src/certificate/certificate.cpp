#include "certificate.h"

#include "fonts.h"

#include "bmpimage.h"
#include "certificatepage.h"
#include "cupsprinter.h"
#include "failure.h"
#include "gradeband.h"
#include "paths.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

namespace zorelad {

QString certificateResultText(int level, int correctCount)
{
    if (level < 1 || level > 3)
        return {};
    switch (gradeBand(correctCount)) {
    case GradeBand::Excellent:
        return QStringLiteral("%1 рівня ВІДМІННО").arg(level);
    case GradeBand::Good:
        return QStringLiteral("%1 рівня ДОБРЕ").arg(level);
    case GradeBand::Unsatisfactory:
    case GradeBand::None:
        break;
    }
    return {};
}

namespace {

// Renders the page into a PDF file at the printer's own resolution and paper.
void renderPage(const PrinterTarget &target, const QString &pdfPath, const QImage &picture,
                const CertificateTexts &texts)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageSize(target.pageSize);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setResolution(target.dpi);
    printer.setDocName(QString());
    QPainter painter;
    if (!painter.begin(&printer))
        throw Failure(QStringLiteral("Printer selected is not valid"));
    paintCertificatePage(painter, picture, texts);
    if (!painter.end())
        throw Failure(QStringLiteral("Printer selected is not valid"));
}

} // namespace

void printCertificate(const QString &pupilClass, const QString &pupilName, int level, int correctCount)
{
    const QImage picture = loadBmpFile(resolvePath(QStringLiteral("media/s.bmp")));
    const QString result = certificateResultText(level, correctCount);
    if (result.isEmpty())
        return;
    installFontSubstitutions();
    const PrinterTarget target = defaultPrinterTarget();
    QTemporaryFile pdf(QDir::tempPath() + QStringLiteral("/zorelad-certificate-XXXXXX.pdf"));
    if (!pdf.open())
        throw Failure(QStringLiteral("Printer selected is not valid"));
    pdf.close();
    renderPage(target, pdf.fileName(), picture, {certificateClassLine(pupilClass), pupilName, result});
    submitPdfJob(target, pdf.fileName());
}

} // namespace zorelad
