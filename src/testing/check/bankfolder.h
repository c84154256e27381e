#pragma once
// The teachers' commands on a folder of question files: export to the bank
// text, import from it, and the options every command shares.

#include "bank.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace zorelad {

// The levels a folder holds: a Text folder (1/ 2/ 3/) gives 1 to 3, a
// level's own folder (named 1, 2 or 3) gives that level alone.
QList<int> levelsOfFolder(const QString &folder, QString *textDir);

// The bank text of the question files below `folder`. Fails as reading a
// question file does.
QByteArray exportBank(const QString &folder);

// Reads the bank text `file` ("-" for standard input) and, when all of it
// is sound, writes its levels below `textDir`. Problems and notes go to
// `err` as "FILE:LINE: message". Returns the exit status: 0 when written,
// 1 when nothing was written.
int importBank(const QString &file, const QString &textDir, QTextStream &out, QTextStream &err);

// Before the application object: the tools measure texts without a screen.
void prepareToolEnvironment();
// After it: the tool's name, version and translations.
void setUpTool(const QString &name);

// Handles --help and --version: prints to standard output and returns true.
// `usage` is the translated text --help prints.
bool standardOption(const QStringList &args, const QString &usage, QTextStream &out);

} // namespace zorelad
