#pragma once
// windows-1251, the code page of the question files: decoding, encoding, and
// naming the characters it cannot hold.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zorelad {

// Bytes of windows-1251 as text. 0x98, which the code page leaves unused,
// becomes U+0098.
QString decodeWindows1251(const QByteArray &bytes);

// The first character of `text` that windows-1251 cannot hold, -1 if none.
// A character outside the basic plane counts as one, at its first half.
qsizetype firstNonWindows1251(const QString &text);

// The text in windows-1251; characters it cannot hold are left out, so ask
// firstNonWindows1251 first.
QByteArray encodeWindows1251(const QString &text);

// "ʼ" (U+02BC) names a character for a message.
QString describeCharacter(const QString &text, qsizetype at);

// Whether a character is one an editor would not leave in a line of text.
bool isControlCharacter(QChar c);

// Replaces characters windows-1251 lacks by the plain equivalent it has
// (the modifier-letter apostrophe U+02BC by ’, the non-breaking hyphen by -);
// appends a note for each kind replaced to `notes`.
QString mapToWindows1251(const QString &text, QStringList *notes = nullptr);

} // namespace zorelad
