#include "journalrecord.h"

#include <QStringDecoder>

namespace zorelad {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const QString TitleLine = QStringLiteral("Дата і час;Комп'ютер;Учень;Клас;Рівень;Правильних;Із;Оцінка;Версія");
const QString StatusPrefix = QStringLiteral("Оцінка - ");

bool needsQuotes(const QString &field)
{
    if (field.isEmpty())
        return false;
    return field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"')) || field.contains(QLatin1Char('\n'))
        || field.contains(QLatin1Char('\r')) || field.front().isSpace() || field.back().isSpace();
}

QString csvField(const QString &field)
{
    if (!needsQuotes(field))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
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

QString gradeWord(const QString &gradeStatus)
{
    return gradeStatus.startsWith(StatusPrefix) ? gradeStatus.mid(StatusPrefix.size()) : gradeStatus;
}

QList<RawRecord> splitRecords(const QByteArray &data)
{
    QList<RawRecord> records;
    qsizetype start = data.startsWith(Bom) ? Bom.size() : 0;
    int line = 1;
    while (start < data.size()) {
        RawRecord record;
        record.line = line;
        bool quoted = false;
        qsizetype i = start;
        for (; i < data.size(); ++i) {
            const char c = data.at(i);
            if (c == '"')
                quoted = !quoted; // a doubled quote toggles twice
            else if (c == '\n') {
                ++line;
                if (!quoted) {
                    record.complete = true;
                    break;
                }
            }
        }
        const qsizetype end = record.complete ? i + 1 : data.size();
        record.text = data.mid(start, end - start);
        records.append(record);
        start = end;
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
    r->host = f[1];
    r->name = f[2];
    r->pupilClass = f[3];
    r->grade = f[7];
    r->version = f[8];
    return r->time.isValid() && !r->host.isEmpty() && readNumber(f[4], 1, 3, &r->level)
        && readNumber(f[6], 1, 1000, &r->outOf) && readNumber(f[5], 0, r->outOf, &r->correct) && !r->grade.isEmpty();
}

} // namespace zorelad
