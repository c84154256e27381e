#pragma once
// What goes on the certificate page, and where. Positions are device pixels
// of the printer, so the page's physical layout follows its resolution.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <atomic>

class QPainter;

namespace zorelad {

class BmpFile;

inline constexpr QPoint CertificatePicturePos(400, 300);
inline constexpr QPoint CertificateClassPos(1000, 1550);
inline constexpr QPoint CertificateNamePos(1000, 1700);
inline constexpr QPoint CertificateResultPos(1000, 2200);
inline constexpr int CertificateClassPointSize = 16;
inline constexpr int CertificateNamePointSize = 20;
inline constexpr int CertificateSmallestPointSize = 10;
// The inner line of the picture's frame, 1620 pixels into the picture: no
// line of text may reach past it.
inline constexpr int CertificateTextRight = CertificatePicturePos.x() + 1620;

struct CertificateTexts {
    QString classLine; // "учень <class> класу"
    QString name;
    QString result;
};

// "учень " + class + " класу", with the class exactly as typed.
QString certificateClassLine(const QString &pupilClass);

// Writes a text with the top-left corner of its cell at a point, in the
// window-text colour on an opaque white cell, and returns that cell.
QRect drawTextCell(QPainter &painter, QPoint topLeft, const QString &text);

// Sets the painter's font for a line starting at `left`: Courier, bold, at
// `pointSize` when the line fits before the frame, else at the largest size
// that does, but not below 10 points. Returns the line as it is to be
// written: cut with "…" where even 10 points is too wide.
QString fitCertificateLine(QPainter &painter, const QString &text, int pointSize, int left);

// Paints the whole page: the picture one pixel per device pixel, read from
// its file a band at a time (a null picture is left out), then the three
// lines over it. Stops between two bands once `stop` is set.
void paintCertificatePage(QPainter &painter, const BmpFile &picture, const CertificateTexts &texts,
                          const std::atomic_bool &stop);

} // namespace zorelad
