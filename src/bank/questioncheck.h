#pragma once
// Checks question files the way the program will read them, so that a
// teacher finds a malformed file before a pupil meets it.

#include <QString>
#include <QStringList>

namespace zorelad {

// The problems of one question file, each a short translated sentence
// (starting with "line N: " where one line is concerned); empty when the
// file is fine. Never blocks: only regular files are read. `checkFit` also
// measures the texts with the widgets they are shown in.
QStringList checkQuestionFile(const QString &path, bool checkFit = true);

// Every problem of a question folder holding 1/1.z .. 3/24.z, each line
// starting with the file or folder it concerns. A folder that holds the
// Text folder rather than being it gets one hint instead.
QStringList checkQuestionFolder(const QString &folder, bool checkFit = true);

// Folders on the way to `path` (from the root) that other users, such as
// pupils, cannot enter, and the file itself when they cannot read it.
QStringList unreadableByPupils(const QString &path);

} // namespace zorelad
