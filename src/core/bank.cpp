#include "bank.h"

#include "failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <vector>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorelad {

namespace {

struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};

// windows-1251 as a table from UTF-16 to bytes, built from the question
// files' own decoder so that reading and writing agree. 0x98 is unused in
// the code page.
const QHash<char16_t, char> &windows1251()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString c = decodeWindows1251(QByteArray(1, byte));
            if (c.size() == 1 && c[0] != QChar::ReplacementCharacter && b != 0x98)
                t.insert(c[0].unicode(), byte);
        }
        return t;
    }();
    return table;
}

bool isControl(QChar c) { return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f; }

bool isBlank(const QString &line) { return line.trimmed().isEmpty(); }

QString lineName(int line)
{
    switch (line) {
    case 1:
        return Bank::tr("the question");
    case 5:
        return Bank::tr("the answer");
    default:
        return Bank::tr("option %1").arg(line - 1);
    }
}

QString failureText(const QString &path, const QString &reason)
{
    return Bank::tr("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

// A question file written to its temporary, waiting to be renamed over the
// real one. The temporary is removed unless committed.
class PendingFile {
public:
    PendingFile(const QString &path, const QByteArray &bytes)
    {
        // Through a symbolic link the file is replaced where it really lies.
        const QFileInfo info(path);
        m_target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
        const QFileInfo target(m_target);
        m_temp = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX");
        QByteArray name = QFile::encodeName(m_temp);
        const int fd = mkstemp(name.data());
        if (fd < 0)
            fail(errno);
        m_temp = QFile::decodeName(name);
        struct stat old;
        const mode_t mode = ::stat(QFile::encodeName(m_target).constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        bool ok = fchmod(fd, mode) == 0;
        for (qsizetype done = 0; ok && done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            ok = n > 0 || (n < 0 && errno == EINTR);
            done += n > 0 ? n : 0;
        }
        ok = ok && fsync(fd) == 0;
        const int error = errno;
        ok = (::close(fd) == 0) && ok;
        if (!ok)
            fail(error ? error : EIO);
    }
    ~PendingFile()
    {
        if (!m_temp.isEmpty())
            ::unlink(QFile::encodeName(m_temp).constData());
    }
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    void commit()
    {
        if (::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_target).constData()) != 0)
            fail(errno);
        m_temp.clear();
    }

private:
    [[noreturn]] void fail(int error)
    {
        const QString reason = QString::fromLocal8Bit(std::strerror(error));
        if (!m_temp.isEmpty() && !m_temp.endsWith(QLatin1String("XXXXXX")))
            ::unlink(QFile::encodeName(m_temp).constData());
        m_temp.clear();
        throw Failure(failureText(m_target, reason));
    }

    QString m_target;
    QString m_temp;
};

} // namespace

qsizetype firstNonWindows1251(const QString &text)
{
    const auto &table = windows1251();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!table.contains(text[i].unicode()))
            return i;
    }
    return -1;
}

QString describeCharacter(const QString &text, qsizetype at)
{
    const char32_t code = text[at].isHighSurrogate() && at + 1 < text.size()
        ? QChar::surrogateToUcs4(text[at], text[at + 1])
        : text[at].unicode();
    const QString shown =
        isControl(text[at]) ? QString() : QStringLiteral("\"") + QString::fromUcs4(&code, 1) + QStringLiteral("\" ");
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

QList<QuestionProblem> checkQuestion(const Question &q)
{
    const QString lines[5] = {q.text, q.options[0], q.options[1], q.options[2], q.answer};
    QList<QuestionProblem> problems;
    for (int line = 1; line <= 5; ++line) {
        const QString &text = lines[line - 1];
        if (line == 1 && isBlank(text))
            problems.append({QuestionProblem::EmptyQuestion, line, Bank::tr("the question is empty")});
        if (line >= 2 && line <= 4) {
            if (isBlank(text))
                problems.append({QuestionProblem::EmptyOption, line, Bank::tr("option %1 is empty").arg(line - 1)});
            for (int earlier = 2; earlier < line && !isBlank(text); ++earlier) {
                if (lines[earlier - 1].trimmed() == text.trimmed()) {
                    problems.append({QuestionProblem::SameOptions, line,
                                     Bank::tr("option %1 is the same as option %2").arg(line - 1).arg(earlier - 1)});
                    break;
                }
            }
        }
        if (line == 5 && q.rightOption() == 0)
            problems.append({QuestionProblem::BadAnswer, line,
                             Bank::tr("the answer is \"%1\"; it must be exactly 1, 2 or 3").arg(text)});
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (isControl(text[i])) {
                problems.append(
                    {QuestionProblem::ControlCharacter, line,
                     Bank::tr("%1 holds the control character %2").arg(lineName(line), describeCharacter(text, i))});
                break;
            }
        }
        const qsizetype bad = firstNonWindows1251(text);
        if (bad >= 0 && !isControl(text[bad]))
            problems.append({QuestionProblem::NoWindows1251, line,
                             Bank::tr("%1 holds the character %2, which windows-1251 lacks")
                                 .arg(lineName(line), describeCharacter(text, bad))});
    }
    return problems;
}

QByteArray encodeQuestionFile(const Question &q)
{
    const QString lines[5] = {q.text, q.options[0], q.options[1], q.options[2], q.answer};
    const auto &table = windows1251();
    QByteArray bytes;
    for (int line = 1; line <= 5; ++line) {
        const QString &text = lines[line - 1];
        const qsizetype bad = firstNonWindows1251(text);
        if (bad >= 0)
            throw Failure(Bank::tr("Line %1 holds the character %2, which windows-1251 lacks")
                              .arg(line)
                              .arg(describeCharacter(text, bad)));
        for (const QChar c : text)
            bytes.append(table.value(c.unicode()));
        bytes.append("\r\n");
    }
    return bytes;
}

void writeQuestionFile(const QString &path, const Question &question) { writeQuestionFiles({{path, question}}); }

void writeQuestionFiles(const QList<QuestionFileWrite> &writes, int *replaced)
{
    if (replaced)
        *replaced = 0;
    QList<QByteArray> contents;
    for (const QuestionFileWrite &w : writes) {
        try {
            contents << encodeQuestionFile(w.question);
        } catch (const Failure &f) {
            throw Failure(failureText(w.path, f.text()));
        }
    }
    std::vector<std::unique_ptr<PendingFile>> pending;
    for (qsizetype i = 0; i < writes.size(); ++i)
        pending.push_back(std::make_unique<PendingFile>(writes[i].path, contents[i]));
    // Renames within a folder that took the temporary files do not fail in
    // practice; should one, the caller learns how many were done.
    for (auto &file : pending) {
        file->commit();
        if (replaced)
            ++*replaced;
    }
}

QString levelHeading(int level) { return QStringLiteral("[Рівень %1]").arg(level); }

namespace {

// The text split into lines, each with its number, after the byte order
// mark and the line ends are taken off.
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

} // namespace

BankText parseBankText(const QByteArray &utf8)
{
    BankText bank;
    const QStringList lines = textLines(utf8, &bank.problems);

    // Blocks of lines between empty lines, and level headings.
    struct Item {
        int level; // > 0: a heading; 0: a question block
        Block block;
    };
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
                bank.problems.append({number, Bank::tr("there is no level %1; the levels are 1, 2 and 3").arg(level)});
            items.append({level < 1 || level > Levels ? -1 : level, {number, {}, {}}});
            continue;
        }
        if (current.lines.isEmpty())
            current.firstLine = number;
        current.lines << line;
        current.lineNumbers << number;
    }
    close();

    int level = 0;
    int headingLine = 0;
    QList<Question> levelQuestions;
    QHash<QString, int> asked; // question text → its line
    bool beforeHeadingReported = false;
    auto endLevel = [&] {
        if (level > 0 && levelQuestions.size() != QuestionsPerLevel)
            bank.problems.append(
                {headingLine,
                 Bank::tr("level %1 has %n question(s); it needs 24", nullptr, int(levelQuestions.size())).arg(level)});
        levelQuestions.clear();
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
        if (block.lines.size() != QuestionFileLines) {
            bank.problems.append({block.firstLine,
                                  Bank::tr("this question has %n line(s); it needs five: the question, three options "
                                           "and the number of the right option; an empty line ends a question",
                                           nullptr, int(block.lines.size()))});
            levelQuestions.append(Question());
            continue;
        }
        Question q;
        auto take = [&](int k) {
            QStringList lineNotes;
            const QString text = mapToWindows1251(block.lines[k], &lineNotes);
            for (const QString &note : lineNotes)
                bank.notes.append({numbers[k], note});
            return text;
        };
        q.text = take(0);
        for (int k = 0; k < 3; ++k)
            q.options[k] = take(k + 1);
        q.answer = take(4);
        for (const QuestionProblem &p : checkQuestion(q))
            bank.problems.append({numbers[p.line - 1], p.message});
        const QString key = q.text.simplified();
        if (!key.isEmpty() && asked.contains(key))
            bank.problems.append({numbers[0], Bank::tr("the same question is asked at line %1").arg(asked.value(key))});
        else
            asked.insert(key, numbers[0]);
        levelQuestions.append(q);
        if (level > 0) {
            BankQuestion entry;
            entry.level = level;
            entry.number = int(levelQuestions.size());
            std::copy(numbers.begin(), numbers.end(), entry.lines);
            entry.question = q;
            bank.questions.append(entry);
        }
    }
    endLevel();
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
                 "Save as UTF-8 and load with: sudo zorelad-import FILE /etc/zorelad/Text");
    for (const QString &line : help.split(QLatin1Char('\n')))
        text += QStringLiteral("# ") + line + QLatin1Char('\n');
    for (qsizetype i = 0; i < levels.size(); ++i) {
        text += QLatin1Char('\n') + levelHeading(firstLevel + int(i)) + QLatin1Char('\n');
        for (const Question &q : levels[i]) {
            text += QLatin1Char('\n') + q.text + QLatin1Char('\n');
            for (const QString &option : q.options)
                text += option + QLatin1Char('\n');
            text += q.answer + QLatin1Char('\n');
        }
    }
    return text.toUtf8();
}

} // namespace zorelad

namespace zorelad {

FileEncoding guessEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return FileEncoding::Utf16;
    // Without a byte order mark: Latin and Cyrillic text in UTF-16 has 0x00
    // or 0x04 as every other byte.
    int highHalves[2] = {};
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
    int uppers = 0, lowers = 0, lowerToUpper = 0, upperToLower = 0;
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

Question decodeQuestion(const QByteArray &bytes)
{
    const FileEncoding encoding = guessEncoding(bytes);
    if (encoding == FileEncoding::Windows1251)
        return questionFromLines(splitQuestionText(bytes));
    QString text;
    if (encoding == FileEncoding::Koi8u)
        text = QStringDecoder("KOI8-U").decode(bytes);
    else if (encoding == FileEncoding::Utf16)
        text = QStringDecoder(bytes.startsWith("\xFE\xFF")
                                      || (bytes.size() > 1 && (bytes[0] == '\0' || bytes[0] == '\x04'))
                                  ? QStringDecoder::Utf16BE
                                  : QStringDecoder::Utf16LE)
                   .decode(bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ? bytes.mid(2) : bytes);
    else
        text = QString::fromUtf8(encoding == FileEncoding::Utf8Bom ? bytes.mid(3) : bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return questionFromLines(text.split(QLatin1Char('\n')).mid(0, QuestionFileLines));
}

} // namespace zorelad
