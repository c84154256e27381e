#pragma once
// How the journal's reader compares what pupils and teachers type: a class
// written "5-A" (Latin A), "5-а" or "5 А" is one class, a pupil who typed her
// name with other spaces, letters' case or words' order is one pupil, and a
// date is taken as a Ukrainian teacher writes it.

#include <QDate>
#include <QString>

namespace zorelad {

// The class as compared, grouped and sorted: invisible characters, spaces,
// hyphens, dashes and dots left out, letters in lower case, Latin letters
// that look Cyrillic made Cyrillic ("5-A" → "5а").
QString classKey(const QString &pupilClass);

// The pupil's name as compared: invisible characters left out, words in
// lower case and in alphabetical order ("Коваль Оля " → "коваль оля").
QString pupilKey(const QString &name);

// A date as "2026-12-09", "09.12.2026" or "09.12" (the latest such day up to
// `today`); an invalid date for anything else.
QDate parseTeacherDate(const QString &text, const QDate &today);

} // namespace zorelad
