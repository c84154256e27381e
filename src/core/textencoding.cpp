#include "textencoding.h"

#include "windows1251.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace zorelad {

namespace {
struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};

bool hasUtf16Mark(const QByteArray &bytes) { return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"); }
} // namespace

FileEncoding guessEncoding(const QByteArray &bytes)
{
    if (hasUtf16Mark(bytes))
        return FileEncoding::Utf16;
    // Without a byte order mark: Latin and Cyrillic text in UTF-16 has 0x00
    // or 0x04 as every other byte.
    qsizetype highHalves[2] = {};
    for (qsizetype i = 0; i < bytes.size(); ++i)
        highHalves[i % 2] += bytes[i] == '\0' || bytes[i] == '\x04';
    const qsizetype pairs = bytes.size() / 2;
    if (pairs >= 4 && bytes.size() % 2 == 0 && (highHalves[0] * 10 >= pairs * 9 || highHalves[1] * 10 >= pairs * 9))
        return FileEncoding::Utf16;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return FileEncoding::Utf8Bom;
    // Read as windows-1251, KOI8-U text has its letters' cases swapped:
    // "Котра" shows as "кОТРА", a lower-case letter followed by upper-case
    // ones, which real text seldom has; all lower-case KOI8-U text shows in
    // capitals with "¦" (its і) among them.
    const auto upper = [](unsigned char b) {
        return (b >= 0xC0 && b <= 0xDF) || b == 0xA8 || b == 0xAA || b == 0xAF || b == 0xB2 || b == 0xA5;
    };
    const auto lower = [](unsigned char b) {
        return b >= 0xE0 || b == 0xB8 || b == 0xBA || b == 0xBF || b == 0xB3 || b == 0xB4;
    };
    bool high = false;
    bool koi8Letters = false; // є, і, ї, ґ of KOI8-U: ¤, ¦, §, soft hyphen in windows-1251
    qsizetype uppers = 0, lowers = 0, lowerToUpper = 0, upperToLower = 0;
    unsigned char previous = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        high = high || b >= 0x80;
        koi8Letters = koi8Letters || b == 0xA4 || b == 0xA6 || b == 0xA7 || b == 0xAD;
        uppers += upper(b);
        lowers += lower(b);
        lowerToUpper += lower(previous) && upper(b);
        upperToLower += upper(previous) && lower(b);
        previous = b;
    }
    if (high) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError() && !text.contains(QChar::ReplacementCharacter))
            return FileEncoding::Utf8;
    }
    if (lowerToUpper > upperToLower || (koi8Letters && uppers > 2 * lowers))
        return FileEncoding::Koi8u;
    return FileEncoding::Windows1251;
}

QString decodeText(const QByteArray &bytes, FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Windows1251:
        return decodeWindows1251(bytes);
    case FileEncoding::Koi8u:
        return QStringDecoder("KOI8-U").decode(bytes);
    case FileEncoding::Utf16: {
        // Big-endian when its mark says so, or when its first byte is the
        // high half of a Latin or Cyrillic character.
        const bool bigEndian =
            bytes.startsWith("\xFE\xFF") || (bytes.size() > 1 && (bytes[0] == '\0' || bytes[0] == '\x04'));
        return QStringDecoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE)
            .decode(hasUtf16Mark(bytes) ? bytes.mid(2) : bytes);
    }
    case FileEncoding::Utf8Bom:
        return QString::fromUtf8(bytes.mid(3));
    case FileEncoding::Utf8:
        break;
    }
    return QString::fromUtf8(bytes);
}

QString encodingName(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Windows1251:
        return QStringLiteral("windows-1251");
    case FileEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case FileEncoding::Utf8Bom:
        return Bank::tr("UTF-8 with a byte order mark");
    case FileEncoding::Utf16:
        return QStringLiteral("UTF-16");
    case FileEncoding::Koi8u:
        return QStringLiteral("KOI8-U");
    }
    return {};
}

} // namespace zorelad
