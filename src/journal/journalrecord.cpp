#include "journalrecord.h"

#include "questionfile.h"

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

// A text field as it was typed: escapes undone, the formula guard taken off.
QString typedField(const QString &field)
{
    const QString text = field.startsWith(QLatin1Char('\'')) ? field.mid(1) : field;
    return text.contains(QLatin1Char('\\')) ? unescapeBreaks(text) : text;
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

// The fields of a line: split on ';' directly where no field is quoted.
bool splitFieldsOf(QByteArrayView bytes, QStringList *fields)
{
    if (std::memchr(bytes.data(), '"', bytes.size()))
        return splitFields(QString::fromUtf8(bytes), fields);
    fields->reserve(JournalFields + 1);
    qsizetype start = 0;
    for (;;) {
        const char *end = static_cast<const char *>(std::memchr(bytes.data() + start, ';', bytes.size() - start));
        const qsizetype stop = end ? end - bytes.data() : bytes.size();
        fields->append(QString::fromUtf8(bytes.sliced(start, stop - start)));
        if (!end || fields->size() > JournalFields)
            return true;
        start = stop + 1;
    }
}

// The time as journalTime() writes it, read without QDateTime's general
// parser; any other ISO form through that parser.
QDateTime readJournalTime(const QString &text)
{
    const auto digits = [&](int at, int count) {
        int value = 0;
        for (int i = at; i < at + count; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    if (text.size() == 25 && text.at(4) == u'-' && text.at(7) == u'-' && text.at(10) == u'T' && text.at(13) == u':'
        && text.at(16) == u':' && (text.at(19) == u'+' || text.at(19) == u'-') && text.at(22) == u':') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
        const int hours = digits(20, 2), minutes = digits(23, 2);
        if (date.isValid() && time.isValid() && hours >= 0 && hours <= 14 && minutes >= 0 && minutes < 60)
            return QDateTime(date, time, Qt::OffsetFromUTC,
                             (text.at(19) == u'-' ? -60 : 60) * (hours * 60 + minutes));
    }
    return QDateTime::fromString(text, Qt::ISODate);
}

// Answers and fingerprints are both there or both not; as many right answers
// among the answers as the record counts.
bool answersAgree(const QString &answers, const QString &questions, int correct)
{
    if (answers.isEmpty() && questions.isEmpty())
        return true;
    if (answers.size() != QuestionsInLevel || questions.size() != QuestionsInLevel * QuestionFingerprintChars)
        return false;
    int right = 0;
    for (int i = 0; i < QuestionsInLevel; ++i) {
        const QChar chosen = answers.at(i);
        const QChar key = questions.at(i * QuestionFingerprintChars);
        if (chosen < u'1' || chosen > u'3' || key < u'0' || key > u'3')
            return false;
        for (int k = 1; k < QuestionFingerprintChars; ++k) {
            const QChar c = questions.at(i * QuestionFingerprintChars + k);
            if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
                return false;
        }
        right += chosen == key;
    }
    return right == correct;
}

bool readNumber(const QString &text, int low, int high, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= low && *value <= high && text == QString::number(*value);
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
    if (!bytes.isValidUtf8())
        return false;
    QStringList f;
    if (!splitFieldsOf(bytes, &f) || (f.size() != JournalFields && f.size() != JournalFieldsWithoutAnswers))
        return false;
    r->time = readJournalTime(f[0]);
    r->host = typedField(f[1]);
    r->name = typedField(f[2]);
    r->pupilClass = typedField(f[3]);
    r->grade = typedField(f[7]);
    r->version = typedField(f[8]);
    r->answers = f.size() == JournalFields ? f[9] : QString();
    r->questions = f.size() == JournalFields ? f[10] : QString();
    // A level has 24 questions; anything else is no record this program wrote.
    return r->time.isValid() && !r->host.isEmpty() && readNumber(f[4], 1, 3, &r->level)
        && readNumber(f[6], QuestionsInLevel, QuestionsInLevel, &r->outOf)
        && readNumber(f[5], 0, r->outOf, &r->correct) && !r->grade.isEmpty()
        && answersAgree(r->answers, r->questions, r->correct);
}

} // namespace zorelad
