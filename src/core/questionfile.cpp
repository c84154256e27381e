#include "questionfile.h"

#include "failure.h"
#include "paths.h"
#include "readfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

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
        m_lines << m_decoder.decode(m_line);
        m_line.clear();
        m_lineOpen = false;
        return m_lines.size() < QuestionFileLines;
    }

    // One decoder for all lines: opening the code page costs more than
    // decoding a line. A single-byte code page carries nothing from one
    // line to the next.
    QStringDecoder m_decoder{"windows-1251"};
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
