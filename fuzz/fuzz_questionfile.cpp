// Question files: splitQuestionText on arbitrary bytes, checked against a
// plain restatement of the line rules, then questionLine and answerIs on the
// lines it gave.

#include "questionfile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QStringDecoder>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QStringList &got, const QStringList &expected)
{
    std::fprintf(stderr, "fuzz_questionfile: %s\n", what);
    std::fprintf(stderr, "  got %lld lines, expected %lld\n", static_cast<long long>(got.size()),
                 static_cast<long long>(expected.size()));
    for (qsizetype i = 0; i < got.size() || i < expected.size(); ++i) {
        std::fprintf(stderr, "  line %lld: got \"%s\" expected \"%s\"\n", static_cast<long long>(i + 1),
                     i < got.size() ? qPrintable(got.at(i)) : "(none)",
                     i < expected.size() ? qPrintable(expected.at(i)) : "(none)");
    }
    std::abort();
}

// The same rules, written the long way round: cut at the first NUL, make
// every CR LF and every lone CR a LF, split at LF, drop the empty piece after
// a final line end, keep five lines of at most MaxLineLength bytes.
QStringList expectedLines(QByteArray text)
{
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QByteArrayList pieces = text.split('\n');
    if (pieces.last().isEmpty())
        pieces.removeLast();
    QStringList lines;
    for (const QByteArray &piece : pieces) {
        if (lines.size() == zorelad::QuestionFileLines)
            break;
        QStringDecoder decoder("windows-1251");
        lines << decoder.decode(piece.left(zorelad::MaxLineLength));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = zorelad::splitQuestionText(bytes);
    const QStringList expected = expectedLines(bytes);
    if (lines != expected)
        fail("lines differ from the line rules", lines, expected);

    for (const QString &line : lines) {
        // windows-1251 is one byte per character, so the cut holds for characters too.
        if (line.size() > zorelad::MaxLineLength)
            fail("line longer than the limit", lines, expected);
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')) || line.contains(QChar(0)))
            fail("line end or NUL inside a line", lines, expected);
    }

    for (int k = -1; k <= zorelad::QuestionFileLines + 2; ++k) {
        const QString line = zorelad::questionLine(lines, k);
        const QString want = k >= 1 && k <= lines.size() ? lines.at(k - 1) : QString();
        if (line != want)
            fail("questionLine picked the wrong line", lines, expected);
    }

    const QString answer = zorelad::questionLine(lines, 5);
    int named = 0;
    for (int k = 1; k <= 3; ++k) {
        const bool is = zorelad::answerIs(answer, k);
        const bool should = answer == QString(QChar(u'0' + k));
        if (is != should)
            fail("answerIs disagrees with the exact digit", lines, expected);
        named += is;
    }
    if (named > 1)
        fail("answer names more than one option", lines, expected);
    return 0;
}
