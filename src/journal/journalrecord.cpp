#include "journalrecord.h"

#include <QStringDecoder>

namespace zorelad {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QString TitleLine = QStringLiteral("Дата і час;Комп'ютер;Учень;Клас;Рівень;Правильних;Із;Оцінка;Версія");

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
    return unescapeBreaks(text);
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

bool readNumber(const QString &text, int low, int high, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= low && *value <= high && text == QString::number(*value);
}

} // namespace

QByteArray journalFileStart() { return Bom + TitleLine.toUtf8() + '\n'; }

QString journalTime(const QDateTime &time) { return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate); }

QByteArray journalLine(const JournalRecord &r)
{
    const QStringList fields = {
        journalTime(r.time),      r.host,  r.name,   r.pupilClass, QString::number(r.level), QString::number(r.correct),
        QString::number(r.outOf), r.grade, r.version};
    QStringList out;
    for (const QString &field : fields)
        out.append(csvField(field));
    return out.join(QLatin1Char(';')).toUtf8() + '\n';
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
    return text.trimmed() == TitleLine.toUtf8();
}

bool parseJournalLine(const QByteArray &raw, JournalRecord *r)
{
    QByteArray bytes = raw;
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r')) // saved again by a spreadsheet
        bytes.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return false;
    QStringList f;
    if (!splitFields(text, &f) || f.size() != JournalFields)
        return false;
    r->time = QDateTime::fromString(f[0], Qt::ISODate);
    r->host = typedField(f[1]);
    r->name = typedField(f[2]);
    r->pupilClass = typedField(f[3]);
    r->grade = typedField(f[7]);
    r->version = typedField(f[8]);
    // A level has 24 questions; anything else is no record this program wrote.
    return r->time.isValid() && !r->host.isEmpty() && readNumber(f[4], 1, 3, &r->level)
        && readNumber(f[6], QuestionsInLevel, QuestionsInLevel, &r->outOf)
        && readNumber(f[5], 0, r->outOf, &r->correct) && !r->grade.isEmpty();
}

} // namespace zorelad
