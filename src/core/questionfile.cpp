#include "questionfile.h"

#include "failure.h"
#include "windows1251.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace zorelad {

namespace {
struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};
} // namespace

bool QuestionLines::feed(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size && !m_done; ++i) {
        const char c = data[i];
        if (c == '\0') {
            finish();
            break;
        }
        if (m_afterCr && c == '\n') { // the LF of a CR LF pair
            m_afterCr = false;
            continue;
        }
        m_afterCr = (c == '\r');
        if (c == '\r' || c == '\n') {
            m_done = !endLine();
        } else {
            if (m_line.size() < MaxLineLength)
                m_line.append(c);
            m_lineOpen = true;
        }
    }
    return !m_done;
}

void QuestionLines::finish()
{
    if (m_lineOpen && !m_done)
        endLine();
    m_done = true;
}

bool QuestionLines::endLine()
{
    m_lines << decodeWindows1251(m_line);
    m_line.clear();
    m_lineOpen = false;
    return m_lines.size() < QuestionFileLines;
}

QStringList splitQuestionText(const QByteArray &bytes)
{
    QuestionLines collector;
    collector.feed(bytes.constData(), bytes.size());
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

QString questionFingerprint(const Question &q)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString &part : {q.text, q.options[0], q.options[1], q.options[2], q.answer}) {
        hash.addData(part.toUtf8());
        hash.addData(QByteArrayView("\n", 1));
    }
    return QString::number(q.rightOption()) + QString::fromLatin1(hash.result().left(2).toHex());
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

Question decodeQuestion(const QByteArray &bytes, FileEncoding encoding)
{
    if (encoding == FileEncoding::Windows1251)
        return questionFromLines(splitQuestionText(bytes));
    QString text = decodeText(bytes, encoding);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return questionFromLines(text.split(QLatin1Char('\n')).mid(0, QuestionFileLines));
}

QByteArray encodeQuestionFile(const Question &q)
{
    const QString lines[QuestionFileLines] = {q.text, q.options[0], q.options[1], q.options[2], q.answer};
    QByteArray bytes;
    for (int line = 1; line <= QuestionFileLines; ++line) {
        const QString &text = lines[line - 1];
        if (const qsizetype bad = firstNonWindows1251(text); bad >= 0)
            throw Failure(Bank::tr("Line %1 holds the character %2, which windows-1251 lacks")
                              .arg(line)
                              .arg(describeCharacter(text, bad)));
        bytes += encodeWindows1251(text) + "\r\n";
    }
    return bytes;
}

} // namespace zorelad
