#pragma once
// The certificate page printed after a good or excellent level.

#include <QString>

namespace zorelad {

// The grade line of the certificate for a level and its count of correct
// answers, or an empty text when that result earns no certificate.
QString certificateResultText(int level, int correctCount);

// Prints one certificate page on the default printer: the picture
// "media/s.bmp" (relative to the working directory), the class line, the
// name and the result. Throws zorelad::Failure on any failure.
void printCertificate(const QString &pupilClass, const QString &pupilName, int level, int correctCount);

} // namespace zorelad
