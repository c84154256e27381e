#include "questioncheck.h"

#include "failure.h"
#include "paths.h"
#include "questionfile.h"
#include "questionfit.h"

#include <QFile>
#include <QStringDecoder>

namespace zorelad {

namespace {

// Bytes a text editor would not leave in windows-1251 text: control codes
// other than tab and line ends, and 0x98, which the code page leaves unused.
QString strangeByte(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7f || b == 0x98)
            return QStringLiteral("byte 0x%1 at offset %2 is not windows-1251 text")
                .arg(b, 2, 16, QLatin1Char('0'))
                .arg(i);
    }
    return {};
}

bool looksLikeUtf8(const QByteArray &bytes)
{
    bool nonAscii = false;
    for (const char c : bytes)
        nonAscii = nonAscii || static_cast<unsigned char>(c) >= 0x80;
    if (!nonAscii)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError() && !text.contains(QChar::ReplacementCharacter);
}

QStringList checkLines(const QStringList &lines, bool checkFit)
{
    QStringList problems;
    if (lines.size() < QuestionFileLines)
        problems << QStringLiteral("has %1 lines, needs %2 (question, three options, answer)")
                        .arg(lines.size())
                        .arg(QuestionFileLines);
    const QString answer = questionLine(lines, 5);
    if (!answerIs(answer, 1) && !answerIs(answer, 2) && !answerIs(answer, 3))
        problems << QStringLiteral("line 5 is \"%1\"; it must be exactly 1, 2 or 3").arg(answer);
    if (!checkFit)
        return problems;
    if (!questionFit(questionLine(lines, 1)).fits())
        problems << QStringLiteral("the question (line 1) does not fit on the screen");
    for (int k = 2; k <= 4; ++k) {
        if (!optionFit(questionLine(lines, k)).fits())
            problems << QStringLiteral("option %1 (line %2) is too wide for the screen").arg(k - 1).arg(k);
    }
    return problems;
}

} // namespace

QStringList checkQuestionFile(const QString &path, bool checkFit)
{
    QStringList lines;
    try {
        lines = readQuestionFile(path);
    } catch (const Failure &failure) {
        return {failure.text()};
    }
    QStringList problems;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(1 << 20);
        if (looksLikeUtf8(bytes))
            problems << QStringLiteral("is saved as UTF-8; convert it: iconv -f UTF-8 -t WINDOWS-1251");
        else if (const QString strange = strangeByte(bytes); !strange.isEmpty())
            problems << strange;
    }
    return problems + checkLines(lines, checkFit);
}

QStringList checkQuestionFolder(const QString &folder, bool checkFit)
{
    QStringList report;
    for (int level = 1; level <= 3; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            const QString path = resolvePath(folder + QStringLiteral("/%1/%2.z").arg(level).arg(number));
            for (const QString &problem : checkQuestionFile(path, checkFit))
                report << path + QStringLiteral(": ") + problem;
        }
    }
    return report;
}

} // namespace zorelad
