#include "certificatepage.h"

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

void paintCertificatePage(QPainter &painter, const QImage &picture, const CertificateTexts &texts)
{
    if (!picture.isNull()) {
        // Without this hint the PDF engine may store the picture as JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        // In bands, so that the PDF writer converts and compresses a slice
        // at a time rather than a second whole copy of a page-sized picture.
        constexpr int Band = 256;
        for (int y = 0; y < picture.height(); y += Band) {
            const QRect slice(0, y, picture.width(), std::min(Band, picture.height() - y));
            painter.drawImage(CertificatePicturePos + slice.topLeft(), picture, slice);
        }
    }
    painter.setFont(certificateFont(CertificateClassPointSize));
    drawTextCell(painter, CertificateClassPos, texts.classLine);
    painter.setFont(certificateFont(CertificateNamePointSize));
    drawTextCell(painter, CertificateNamePos, texts.name);
    drawTextCell(painter, CertificateResultPos, texts.result);
}

} // namespace zorelad
