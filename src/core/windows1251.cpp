#include "windows1251.h"

#include <QCoreApplication>
#include <QHash>

namespace zorelad {

namespace {

struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};

// windows-1251 above ASCII: 0x80-0xBF from this table, 0xC0-0xFF the
// Cyrillic alphabet А-я in order. Decoded here rather than through Qt's
// codecs, which open ICU's converter and its data (about 1.3 MB resident)
// for a table of 128 characters.
constexpr char16_t Windows1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// The decoder's table turned round, so that reading and writing agree.
// 0x98 is unused in the code page and is never written.
const QHash<char16_t, char> &encoderTable()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0; b < 256; ++b) {
            if (b != 0x98)
                t.insert(decodeWindows1251(QByteArray(1, char(b)))[0].unicode(), char(b));
        }
        return t;
    }();
    return table;
}

} // namespace

QString decodeWindows1251(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = b < 0x80 ? char16_t(b) : b < 0xC0 ? Windows1251High[b - 0x80] : char16_t(0x0410 + (b - 0xC0));
    }
    return text;
}

qsizetype firstNonWindows1251(const QString &text)
{
    const auto &table = encoderTable();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!table.contains(text[i].unicode()))
            return i;
    }
    return -1;
}

QByteArray encodeWindows1251(const QString &text)
{
    const auto &table = encoderTable();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (const auto found = table.constFind(c.unicode()); found != table.constEnd())
            bytes.append(*found);
    }
    return bytes;
}

bool isControlCharacter(QChar c) { return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f; }

QString describeCharacter(const QString &text, qsizetype at)
{
    const char32_t code = text[at].isHighSurrogate() && at + 1 < text.size()
        ? QChar::surrogateToUcs4(text[at], text[at + 1])
        : text[at].unicode();
    const QString shown = isControlCharacter(text[at])
        ? QString()
        : QStringLiteral("\"") + QString::fromUcs4(&code, 1) + QStringLiteral("\" ");
    return shown
        + QStringLiteral("(U+%1)").arg(QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

QString mapToWindows1251(const QString &text, QStringList *notes)
{
    static const struct {
        char16_t from;
        char16_t to;
    } equivalents[] = {
        {0x02BC, 0x2019}, // modifier letter apostrophe → right single quotation mark
        {0x2011, u'-'},   // non-breaking hyphen → hyphen-minus
    };
    QString mapped = text;
    for (const auto &e : equivalents) {
        if (!mapped.contains(QChar(e.from)))
            continue;
        mapped.replace(QChar(e.from), QChar(e.to));
        if (notes)
            *notes << Bank::tr("%1 written as \"%2\", which windows-1251 has")
                          .arg(describeCharacter(QString(QChar(e.from)), 0), QString(QChar(e.to)));
    }
    return mapped;
}

} // namespace zorelad
