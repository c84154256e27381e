#pragma once
// Which encoding a text file a teacher made is in, as far as its bytes tell,
// and its text decoded from that encoding.

#include <QByteArray>
#include <QString>

namespace zorelad {

enum class FileEncoding { Windows1251, Utf8, Utf8Bom, Utf16, Koi8u };

// Guesses the encoding: a byte order mark or NUL bytes mean UTF-16, valid
// UTF-8 with letters beyond ASCII means UTF-8, Cyrillic letters mostly in
// windows-1251's upper-case range (where KOI8-U keeps its lower case) mean
// KOI8-U, anything else windows-1251.
FileEncoding guessEncoding(const QByteArray &bytes);

// The bytes as text in the given encoding, without a byte order mark.
QString decodeText(const QByteArray &bytes, FileEncoding encoding);

// The encoding's name for messages: "UTF-8", "KOI8-U", ...
QString encodingName(FileEncoding encoding);

} // namespace zorelad
