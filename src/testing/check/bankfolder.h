#pragma once
// The teachers' commands on a folder of question files: export to the bank
// text, import from it, and the options every command shares.

#include "bank.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

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

// Runs one of the teachers' commands: the offscreen platform unless a display
// is asked for, the fonts the windows use, the command's name, version and
// translations; answers --help (the text `usage` makes once the translations
// are in place) and --version on standard output; otherwise returns what
// `body` returns for the arguments.
using ToolBody = std::function<int(const QStringList &args, const QString &usage, QTextStream &out, QTextStream &err)>;
int runTool(int argc, char **argv, const QString &name, const std::function<QString()> &usage, const ToolBody &body);

} // namespace zorelad
