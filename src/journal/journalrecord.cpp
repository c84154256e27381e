#include "journalrecord.h"

#include "questionfile.h"

#include <QStringDecoder>

#include <cstring>

namespace zorelad {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QString OlderTitleLine = QStringLiteral("Дата і час;Комп'ютер;Учень;Клас;Рівень;Правильних;Із;Оцінка;Версія");
const QString TitleLine = OlderTitleLine + QStringLiteral(";Відповіді;Запитання");

// A spreadsheet evaluates a cell that starts with one of these; a field
// starting so is written after a ' (which Calc shows and does not evaluate),
// and so is a field that itself starts with ', so that one ' is always taken
// off when reading back.
bool isFormulaStart(const QString &field)
{
    return !field.isEmpty() && QStringLiteral("=+-@'").contains(field.front());
}

// Line breaks and the backslash as visible escapes: a record is always one
// physical line, so a line cut short never swallows the next one.
QString escapeBreaks(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (const QChar c : field) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString unescapeBreaks(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c == QLatin1Char('\\') && i + 1 < field.size()) {
            const QChar e = field.at(++i);
            out += e == QLatin1Char('n') ? QLatin1Char('\n') : e == QLatin1Char('r') ? QLatin1Char('\r') : e;
        } else {
            out += c;
        }
    }
    return out;
}

QString csvField(const QString &value)
{
    QString field = escapeBreaks(value);
    const bool formula = isFormulaStart(field);
    if (formula)
        field.prepend(QLatin1Char('\''));
    if (field.isEmpty()
        || !(formula || field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"')) || field.front().isSpace()
             || field.back().isSpace()))
        return field;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// The fields of one raw record, or false when its quotes do not close.
bool splitFields(const QString &line, QStringList *fields)
{
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            fields->append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields->append(field);
    return !quoted;
}

// Decodes UTF-8 into the string's own buffer: a reader that fills one
// record line after line allocates only where a field grew or was kept.
// False for bytes that are not UTF-8.
bool decodeInto(QString &out, QByteArrayView bytes)
{
    out.resize(bytes.size()); // UTF-16 takes no more units than UTF-8 bytes
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar *end = utf8.appendToBuffer(out.data(), bytes);
    out.truncate(end - out.constData());
    return !utf8.hasError();
}

// A text field as it was typed: the formula guard taken off, escapes undone.
bool typedFieldInto(QString &out, QByteArrayView field)
{
    if (field.startsWith('\''))
        field = field.sliced(1);
    if (!decodeInto(out, field))
        return false;
    if (!field.isEmpty() && std::memchr(field.data(), '\\', field.size()))
        out = unescapeBreaks(out);
    return true;
}

// Bytes known to be ASCII, widened into the string's own buffer.
void asciiInto(QString &out, QByteArrayView bytes)
{
    out.truncate(0);
    out.append(QLatin1String(bytes.data(), bytes.size()));
}

// The time as journalTime() writes it, read without QDateTime's general
// parser; any other ISO form through that parser.
QDateTime readJournalTime(QByteArrayView text)
{
    const auto digits = [&](int at, int count) {
        int value = 0;
        for (int i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() == 25 && text[4] == '-' && text[7] == '-' && text[10] == 'T' && text[13] == ':' && text[16] == ':'
        && (text[19] == '+' || text[19] == '-') && text[22] == ':') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
        const int hours = digits(20, 2), minutes = digits(23, 2);
        if (date.isValid() && time.isValid() && hours >= 0 && hours <= 14 && minutes >= 0 && minutes < 60)
            return QDateTime(date, time, Qt::OffsetFromUTC, (text[19] == '-' ? -60 : 60) * (hours * 60 + minutes));
    }
    return QDateTime::fromString(QString::fromUtf8(text), Qt::ISODate);
}

// Answers and fingerprints are both there or both not; as many right answers
// among the answers as the record counts.
bool answersAgree(QByteArrayView answers, QByteArrayView questions, int correct)
{
    if (answers.isEmpty() && questions.isEmpty())
        return true;
    if (answers.size() != QuestionsInLevel || questions.size() != QuestionsInLevel * QuestionFingerprintChars)
        return false;
    int right = 0;
    for (int i = 0; i < QuestionsInLevel; ++i) {
        const char chosen = answers[i];
        const char key = questions[i * QuestionFingerprintChars];
        if (chosen < '1' || chosen > '3' || key < '0' || key > '3')
            return false;
        for (int k = 1; k < QuestionFingerprintChars; ++k) {
            const char c = questions[i * QuestionFingerprintChars + k];
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
                return false;
        }
        right += chosen == key;
    }
    return right == correct;
}

// A whole number as QString::number() writes it, within the bounds.
bool readNumber(QByteArrayView text, int low, int high, int *value)
{
    if (text.isEmpty() || text.size() > 9 || (text.size() > 1 && text[0] == '0'))
        return false;
    *value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        *value = *value * 10 + (c - '0');
    }
    return *value >= low && *value <= high;
}

} // namespace

QByteArray journalFileStart() { return Bom + TitleLine.toUtf8() + '\n'; }

QString journalTime(const QDateTime &time) { return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate); }

QByteArray csvLine(const QStringList &fields)
{
    QStringList out;
    for (const QString &field : fields)
        out.append(csvField(field));
    return out.join(QLatin1Char(';')).toUtf8() + '\n';
}

QByteArray journalLine(const JournalRecord &r)
{
    return csvLine({journalTime(r.time), r.host, r.name, r.pupilClass, QString::number(r.level),
                    QString::number(r.correct), QString::number(r.outOf), r.grade, r.version, r.answers, r.questions});
}

QString gradeWord(GradeBand band)
{
    switch (band) {
    case GradeBand::Excellent:
        return QStringLiteral("відмінно");
    case GradeBand::Good:
        return QStringLiteral("Добре");
    case GradeBand::Unsatisfactory:
    case GradeBand::None:
        break;
    }
    return QStringLiteral("незадовільно");
}

QList<RawRecord> splitRecords(const QByteArray &data)
{
    // Every line end ends a record, inside quotes too: a record never spans
    // lines, so a line cut short is a damaged line of its own.
    QList<RawRecord> records;
    qsizetype start = data.startsWith(Bom) ? Bom.size() : 0;
    int line = 1;
    while (start < data.size()) {
        const qsizetype end = data.indexOf('\n', start);
        RawRecord record;
        record.line = line++;
        record.complete = end >= 0;
        const qsizetype next = end >= 0 ? end + 1 : data.size();
        record.text = data.mid(start, next - start);
        records.append(record);
        start = next;
    }
    return records;
}

bool isTitleLine(const QByteArray &raw)
{
    QByteArray text = raw;
    if (text.startsWith(Bom))
        text.remove(0, Bom.size());
    text = text.trimmed();
    return text == TitleLine.toUtf8() || text == OlderTitleLine.toUtf8();
}

bool parseJournalLine(QByteArrayView bytes, JournalRecord *r)
{
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r')) // saved again by a spreadsheet
        bytes.chop(1);
    if (bytes.isEmpty())
        return false;
    // The fields as they stand in the line; where a field is quoted, as
    // unquoted copies. Each is found to be UTF-8 as it is read.
    QByteArrayView f[JournalFields + 1];
    int count = 0;
    QList<QByteArray> unquoted;
    if (std::memchr(bytes.data(), '"', bytes.size())) {
        if (!bytes.isValidUtf8())
            return false;
        QStringList fields;
        if (!splitFields(QString::fromUtf8(bytes), &fields) || fields.size() > JournalFields)
            return false;
        for (const QString &field : fields)
            unquoted.append(field.toUtf8());
        for (const QByteArray &field : unquoted)
            f[count++] = field;
    } else {
        for (qsizetype start = 0; count <= JournalFields;) {
            const char *end = static_cast<const char *>(std::memchr(bytes.data() + start, ';', bytes.size() - start));
            const qsizetype stop = end ? end - bytes.data() : bytes.size();
            f[count++] = bytes.sliced(start, stop - start);
            if (!end)
                break;
            start = stop + 1;
        }
    }
    if (count != JournalFields && count != JournalFieldsWithoutAnswers)
        return false;
    const QByteArrayView answers = count == JournalFields ? f[9] : QByteArrayView();
    const QByteArrayView questions = count == JournalFields ? f[10] : QByteArrayView();
    r->time = readJournalTime(f[0]);
    // A level has 24 questions; anything else is no record this program wrote.
    if (!r->time.isValid() || !readNumber(f[4], 1, 3, &r->level)
        || !readNumber(f[6], QuestionsInLevel, QuestionsInLevel, &r->outOf)
        || !readNumber(f[5], 0, r->outOf, &r->correct) || !answersAgree(answers, questions, r->correct))
        return false;
    asciiInto(r->answers, answers);
    asciiInto(r->questions, questions);
    return typedFieldInto(r->host, f[1]) && typedFieldInto(r->name, f[2]) && typedFieldInto(r->pupilClass, f[3])
        && typedFieldInto(r->grade, f[7]) && typedFieldInto(r->version, f[8]) && !r->host.isEmpty()
        && !r->grade.isEmpty();
}

} // namespace zorelad
