#pragma once
// Checks question files the way the program will read them, so that a
// teacher finds a malformed file before a pupil meets it.

#include <QString>
#include <QStringList>

namespace zorelad {

// The problems of one question file, each a short sentence; empty when the
// file is fine. `checkFit` also measures the texts against the screen.
QStringList checkQuestionFile(const QString &path, bool checkFit = true);

// Every problem of a question folder holding 1/1.z .. 3/24.z, each line
// starting with the file it concerns.
QStringList checkQuestionFolder(const QString &folder, bool checkFit = true);

} // namespace zorelad
