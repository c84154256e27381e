#include "certificatepage.h"

#include "bmpimage.h"
#include "certificate.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace zorelad {

QString certificateClassLine(const QString &pupilClass)
{
    return QStringLiteral("учень ") + pupilClass + QStringLiteral(" класу");
}

QRect drawTextCell(QPainter &painter, QPoint topLeft, const QString &text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect cell(topLeft, QSize(metrics.horizontalAdvance(text), metrics.height()));
    painter.fillRect(cell, Qt::white);
    painter.setPen(QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText));
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    return cell;
}

static QFont certificateFont(int pointSize)
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPointSize(pointSize);
    return font;
}

QString fitCertificateLine(QPainter &painter, const QString &text, int pointSize, int left)
{
    const int width = CertificateTextRight - left;
    for (int size = pointSize;; --size) {
        painter.setFont(certificateFont(size));
        const QFontMetrics metrics = painter.fontMetrics();
        if (metrics.horizontalAdvance(text) <= width)
            return text;
        if (size <= CertificateSmallestPointSize)
            return metrics.elidedText(text, Qt::ElideRight, width);
    }
}

void paintCertificatePage(QPainter &painter, const BmpFile &picture, const CertificateTexts &texts,
                          const std::atomic_bool &stop)
{
    // Without this hint the PDF engine may store the picture as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    // A band at a time: the PDF writer converts, compresses and writes out
    // one slice before the next is read, so memory stays at one band. For
    // each band the writer holds about ten bytes a pixel at once (a 32-bit
    // copy, the RGB bytes, the alpha bytes, the compressed stream and its
    // copy): 64 rows of the 1700-pixel picture are about 1 MB. The bands
    // lie on whole device pixels, so the page renders as one picture.
    constexpr int Band = 64;
    const QSize size = picture.size();
    for (int y = 0; y < size.height(); y += Band) {
        if (stop)
            return;
        painter.drawImage(CertificatePicturePos + QPoint(0, y), picture.readRows(y, std::min(Band, size.height() - y)));
    }
    const auto write = [&](QPoint at, const QString &text, int pointSize) {
        drawTextCell(painter, at, fitCertificateLine(painter, text, pointSize, at.x()));
    };
    write(CertificateClassPos, texts.classLine, CertificateClassPointSize);
    write(CertificateNamePos, texts.name, CertificateNamePointSize);
    write(CertificateResultPos, texts.result, CertificateNamePointSize);
}

} // namespace zorelad
