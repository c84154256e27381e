#include "banktext.h"

#include "questionrules.h"
#include "textencoding.h"
#include "windows1251.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace zorelad {

namespace {

struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};

bool isBlank(const QString &line) { return line.trimmed().isEmpty(); }

// A line that, as it stands, would be read as a comment or a heading, or
// one that is such a line escaped already: each gets one more '\' in front.
const QRegularExpression &escapable()
{
    static const QRegularExpression pattern(QStringLiteral("^\\\\*\\s*[#\\[]"));
    return pattern;
}

QString escapeLine(const QString &line) { return escapable().match(line).hasMatch() ? QLatin1Char('\\') + line : line; }

QString unescapeLine(const QString &line)
{
    return line.startsWith(QLatin1Char('\\')) && escapable().match(line).hasMatch() ? line.mid(1) : line;
}

// The text split into lines, after the byte order mark and the line ends
// are taken off.
QStringList textLines(const QByteArray &utf8, QList<TextRemark> *problems)
{
    QByteArray bytes = utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> raw = bytes.split('\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    QStringList lines;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QByteArray line = raw[i];
        if (line.endsWith('\r'))
            line.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(line);
        if (decoder.hasError())
            problems->append({int(i + 1), Bank::tr("this line is not UTF-8 text; save the file as UTF-8")});
        lines << text;
    }
    return lines;
}

int headingLevel(const QString &line)
{
    static const QRegularExpression heading(QStringLiteral("^\\s*\\[[^\\]0-9]*([0-9]+)\\s*\\]\\s*$"));
    const auto match = heading.match(line);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

struct Block {
    int firstLine;
    QStringList lines;
    QList<int> lineNumbers;
};

// Blocks of lines between empty lines, and level headings.
struct Item {
    int level; // > 0: a heading; -1: a heading of no level; 0: a question block
    Block block;
};

QList<Item> splitItems(const QStringList &lines, QList<TextRemark> *problems)
{
    QList<Item> items;
    Block current{0, {}, {}};
    auto close = [&] {
        if (!current.lines.isEmpty())
            items.append({0, current});
        current = {0, {}, {}};
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i + 1);
        const QString &line = lines[i];
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (isBlank(line)) {
            close();
            continue;
        }
        const int level = current.lines.isEmpty() ? headingLevel(line) : -1;
        if (level != -1) {
            close();
            if (level < 1 || level > Levels)
                problems->append({number, Bank::tr("there is no level %1; the levels are 1, 2 and 3").arg(level)});
            items.append({level < 1 || level > Levels ? -1 : level, {number, {}, {}}});
            continue;
        }
        if (current.lines.isEmpty())
            current.firstLine = number;
        current.lines << unescapeLine(line);
        current.lineNumbers << number;
    }
    close();
    return items;
}

} // namespace

QString levelHeading(int level) { return QStringLiteral("[Рівень %1]").arg(level); }

namespace {

// Whether bytes that are not UTF-8 read as Cyrillic windows-1251 text: most
// of their bytes above ASCII are its letters.
bool looksLikeWindows1251(const QByteArray &bytes)
{
    qsizetype high = 0, letters = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        high += b >= 0x80;
        letters += b >= 0xC0 || b == 0xA8 || b == 0xB8 || b == 0xAA || b == 0xBA || b == 0xAF || b == 0xBF || b == 0xB2
            || b == 0xB3 || b == 0xA5 || b == 0xB4;
    }
    return high > 0 && letters * 10 >= high * 8;
}

// The text as UTF-8: a text Notepad saved as "ANSI" (windows-1251) or as
// "Unicode" (UTF-16 with its byte order mark) is read as what it is, with
// one note saying so.
QByteArray asUtf8(const QByteArray &bytes, QList<TextRemark> *notes)
{
    FileEncoding encoding = guessEncoding(bytes);
    if (encoding == FileEncoding::Utf16 && !(bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")))
        return bytes; // without its mark, UTF-16 is only a guess
    if (encoding == FileEncoding::Windows1251 || encoding == FileEncoding::Koi8u) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError() || !looksLikeWindows1251(bytes))
            return bytes;
        encoding = FileEncoding::Windows1251;
    }
    if (encoding != FileEncoding::Windows1251 && encoding != FileEncoding::Utf16)
        return bytes;
    notes->append({0, Bank::tr("the text is saved as %1, not UTF-8; it was read as %1").arg(encodingName(encoding))});
    return decodeText(bytes, encoding).toUtf8();
}

} // namespace

BankText parseBankText(const QByteArray &bytes)
{
    BankText bank;
    const QByteArray utf8 = asUtf8(bytes, &bank.notes);
    const QList<Item> items = splitItems(textLines(utf8, &bank.problems), &bank.problems);

    int level = 0;
    int headingLine = 0;
    int levelCount = 0;
    QList<Question> asked; // every five-line question, for questions asked twice
    QList<int> askedLines; // the line each of them starts at
    bool beforeHeadingReported = false;
    auto endLevel = [&] {
        if (level > 0 && levelCount != QuestionsPerLevel)
            bank.problems.append(
                {headingLine, Bank::tr("level %1 has %n question(s); it needs 24", nullptr, levelCount).arg(level)});
        levelCount = 0;
    };
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        if (item.level != 0) {
            endLevel();
            level = item.level;
            headingLine = item.block.firstLine;
            if (level > 0 && bank.levels.contains(level))
                bank.problems.append({headingLine, Bank::tr("level %1 appears a second time").arg(level)});
            if (level > 0)
                bank.levels << level;
            continue;
        }
        Block block = item.block;
        // Rejoin a question split by one empty line: a block of fewer than
        // five lines directly followed by the rest of the question.
        // An empty line in the middle of a question (an empty option)
        // leaves two blocks that together hold five lines.
        QList<int> numbers = block.lineNumbers;
        if (block.lines.size() < QuestionFileLines && i + 1 < items.size() && items[i + 1].level == 0) {
            const Block &next = items[i + 1].block;
            const int gap = next.firstLine - numbers.last() - 1;
            if (gap == 1 && block.lines.size() + 1 + next.lines.size() == QuestionFileLines) {
                block.lines << QString() << next.lines;
                numbers << numbers.last() + 1 << next.lineNumbers;
                ++i;
            }
        }
        if (level == 0 && !beforeHeadingReported) {
            beforeHeadingReported = true;
            bank.problems.append(
                {block.firstLine,
                 Bank::tr("this question comes before the first level heading (%1)").arg(levelHeading(1))});
        }
        ++levelCount;
        if (block.lines.size() != QuestionFileLines) {
            bank.problems.append({block.firstLine,
                                  Bank::tr("this question has %n line(s); it needs five: the question, three options "
                                           "and the number of the right option; an empty line ends a question",
                                           nullptr, int(block.lines.size()))});
            continue;
        }
        auto take = [&](int k) {
            QStringList lineNotes;
            const QString text = mapToWindows1251(block.lines[k], &lineNotes);
            for (const QString &note : lineNotes)
                bank.notes.append({numbers[k], note});
            return text;
        };
        Question q;
        q.text = take(0);
        for (int k = 0; k < 3; ++k)
            q.options[k] = take(k + 1);
        q.answer = take(4);
        for (const QuestionProblem &p : checkQuestion(q))
            bank.problems.append({numbers[p.line - 1], p.message});
        asked << q;
        askedLines << numbers[0];
        if (level > 0) {
            BankQuestion entry;
            entry.level = level;
            entry.number = levelCount;
            std::copy(numbers.begin(), numbers.end(), entry.lines);
            entry.question = q;
            bank.questions.append(entry);
        }
    }
    endLevel();
    for (const SameQuestion &same : sameQuestions(asked))
        bank.problems.append(
            {askedLines[same.index], Bank::tr("the same question is asked at line %1").arg(askedLines[same.earlier])});
    if (bank.levels.isEmpty() && bank.problems.isEmpty())
        bank.problems.append(
            {0, Bank::tr("the text holds no level; a level starts with its heading, such as %1").arg(levelHeading(1))});
    std::stable_sort(bank.problems.begin(), bank.problems.end(),
                     [](const TextRemark &a, const TextRemark &b) { return a.line < b.line; });
    return bank;
}

QByteArray formatBankText(const QList<QList<Question>> &levels, int firstLevel)
{
    QString text;
    const QString help =
        Bank::tr("Zorelad questions. Each question is a block of five lines: the question, option 1, option 2,\n"
                 "option 3 and the number of the right option (1, 2 or 3). An empty line ends a question.\n"
                 "A level starts with its heading line and holds 24 questions. Lines starting with # are comments.\n"
                 "Save as UTF-8 and load with: sudo zorelad-import FILE /etc/zorelad/Text")
        + QLatin1Char('\n') + Bank::tr("A line of a question that starts with # or [ has a \\ written before it.");
    for (const QString &line : help.split(QLatin1Char('\n')))
        text += QStringLiteral("# ") + line + QLatin1Char('\n');
    for (qsizetype i = 0; i < levels.size(); ++i) {
        text += QLatin1Char('\n') + levelHeading(firstLevel + int(i)) + QLatin1Char('\n');
        for (const Question &q : levels[i]) {
            text += QLatin1Char('\n') + escapeLine(q.text) + QLatin1Char('\n');
            for (const QString &option : q.options)
                text += escapeLine(option) + QLatin1Char('\n');
            text += escapeLine(q.answer) + QLatin1Char('\n');
        }
    }
    return text.toUtf8();
}

QString readBankText(QIODevice &in, const QString &name, QByteArray *text)
{
    text->clear();
    while (text->size() <= MaxBankTextBytes) {
        const QByteArray chunk = in.read(65536);
        if (chunk.isEmpty())
            break;
        text->append(chunk);
    }
    if (text->size() > MaxBankTextBytes) {
        text->clear();
        const qint64 size = in.isSequential() ? 0 : in.size();
        return size > 0 ? Bank::tr("%1 is %2 MB; a bank text is at most %3 MB")
                              .arg(name)
                              .arg(double(size) / (1024 * 1024), 0, 'f', 1)
                              .arg(MaxBankTextBytes / (1024 * 1024))
                        : Bank::tr("%1 holds more than %2 MB; a bank text is at most %2 MB")
                              .arg(name)
                              .arg(MaxBankTextBytes / (1024 * 1024));
    }
    return {};
}

} // namespace zorelad
