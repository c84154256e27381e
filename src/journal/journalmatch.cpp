#include "journalmatch.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace zorelad {

namespace {

// Format characters (zero-width spaces and joiners, the byte order mark,
// the soft hyphen) show as nothing.
QString withoutInvisible(const QString &text)
{
    QString visible;
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Format)
            visible += c;
    }
    return visible;
}

// Latin letters a pupil may type for the Cyrillic ones they look like.
QChar cyrillicLookAlike(QChar c)
{
    static const QString latin = QStringLiteral("abcehikmoptxy");
    static const QString cyrillic = QStringLiteral("авсеніктортху");
    const qsizetype at = latin.indexOf(c);
    return at >= 0 ? cyrillic[at] : c;
}

} // namespace

QString classKey(const QString &pupilClass)
{
    QString key;
    for (const QChar c : withoutInvisible(pupilClass).toLower()) {
        if (c.isSpace() || c == QLatin1Char('.') || c.category() == QChar::Punctuation_Dash)
            continue;
        key += cyrillicLookAlike(c);
    }
    return key;
}

QString pupilKey(const QString &name)
{
    QStringList words =
        withoutInvisible(name).toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::sort(words.begin(), words.end());
    return words.join(QLatin1Char(' '));
}

QDate parseTeacherDate(const QString &text, const QDate &today)
{
    const QString trimmed = text.trimmed();
    QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(trimmed, QStringLiteral("d.M.yyyy"));
    if (!date.isValid()) {
        // Day and month alone: this year's, or last year's if that is still to come.
        date = QDate::fromString(trimmed + QStringLiteral(".%1").arg(today.year()), QStringLiteral("d.M.yyyy"));
        if (date.isValid() && date > today)
            date = date.addYears(-1);
    }
    return date;
}

} // namespace zorelad
