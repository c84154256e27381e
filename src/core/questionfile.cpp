#include "questionfile.h"

#include "failure.h"
#include "paths.h"
#include "readfile.h"

#include <QDir>
#include <QFileInfo>

namespace zorelad {

QString questionFilePath(const QString &programDir, int level, int number)
{
    const QString path = programDir + QStringLiteral("Text/%1/%2.z").arg(level).arg(number);
    // A path that exists as spelt needs no lookup of each component: it is
    // what the lookup would answer.
    const QString exact = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (QFileInfo::exists(exact))
        return exact;
    return resolvePath(path);
}

// windows-1251 above ASCII: 0x80-0xBF from this table, 0xC0-0xFF the
// Cyrillic alphabet А-я in order. Decoded here rather than through Qt's
// codecs, which open ICU's converter and its data (about 1.3 MB resident)
// for a table of 128 characters. 0x98, which the code page leaves unused,
// becomes U+0098 as ICU's table has it.
namespace {
constexpr char16_t Windows1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};
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

namespace {

// Collects lines from a stream of bytes, keeping at most the first
// QuestionFileLines lines and at most MaxLineLength bytes of each, so a huge
// or damaged file costs no more memory than a good one.
class LineCollector {
public:
    // Feeds bytes; returns false once no more input is wanted.
    bool feed(const char *data, qsizetype size)
    {
        for (qsizetype i = 0; i < size; ++i) {
            const char c = data[i];
            if (c == '\0')
                return finish();
            if (m_afterCr && c == '\n') { // the LF of a CR LF pair
                m_afterCr = false;
                continue;
            }
            m_afterCr = (c == '\r');
            if (c == '\r' || c == '\n') {
                if (!endLine())
                    return false;
            } else if (m_line.size() < MaxLineLength) {
                m_line.append(c);
            }
            m_lineOpen = !(c == '\r' || c == '\n');
        }
        return true;
    }

    // The last line, if the text does not end with a line end.
    bool finish()
    {
        if (m_lineOpen)
            endLine();
        m_lineOpen = false;
        return false;
    }

    QStringList lines() const { return m_lines; }

private:
    bool endLine()
    {
        m_lines << decodeWindows1251(m_line);
        m_line.clear();
        m_lineOpen = false;
        return m_lines.size() < QuestionFileLines;
    }

    QStringList m_lines;
    QByteArray m_line;
    bool m_afterCr = false;
    bool m_lineOpen = false;
};

} // namespace

QStringList splitQuestionText(const QByteArray &bytes)
{
    LineCollector collector;
    if (collector.feed(bytes.constData(), bytes.size()))
        collector.finish();
    return collector.lines();
}

QStringList readQuestionFile(const QString &path)
{
    LineCollector collector;
    readFileInChunks(path, [&collector](const char *data, qsizetype size) { return collector.feed(data, size); });
    collector.finish();
    return collector.lines();
}

QString questionLine(const QStringList &lines, int k)
{
    return k >= 1 && k <= lines.size() ? lines.at(k - 1) : QString();
}

bool answerIs(const QString &answer, int k) { return answer == QString::number(k); }

int Question::rightOption() const
{
    for (int k = 1; k <= 3; ++k) {
        if (answerIs(answer, k))
            return k;
    }
    return 0;
}

bool Question::operator==(const Question &other) const
{
    return text == other.text && options[0] == other.options[0] && options[1] == other.options[1]
        && options[2] == other.options[2] && answer == other.answer;
}

Question questionFromLines(const QStringList &lines)
{
    Question q;
    q.text = questionLine(lines, 1);
    for (int k = 0; k < 3; ++k)
        q.options[k] = questionLine(lines, k + 2);
    q.answer = questionLine(lines, 5);
    return q;
}

Question readQuestion(const QString &path) { return questionFromLines(readQuestionFile(path)); }

} // namespace zorelad
