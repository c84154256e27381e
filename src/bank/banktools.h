#pragma once
// The teachers' commands on a folder of question files: export to the bank
// text, import from it, and the options every command shares.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace zorelad {

// The bank text of the question files below `folder` (a Text folder, or one
// level's folder). Fails naming the first file that cannot be read.
QByteArray exportBank(const QString &folder);

// Writes the bank text to FILE, or to standard output for an empty `file`;
// returns the exit status (0 when every byte was written), naming a failure
// on `err`.
int writeExport(const QByteArray &text, const QString &file, QTextStream &err);

// Reads the bank text `file` ("-" for standard input) and, when all of it
// is sound, writes its levels below `target` (a Text folder, or the folder
// of the one level the text holds). Problems and notes go to `err` as
// "FILE:LINE: message". Returns the exit status: 0 when written, 1 when
// nothing was written.
int importBank(const QString &file, const QString &target, QTextStream &out, QTextStream &err);

// Runs one of the teachers' commands: the offscreen platform unless a display
// is asked for, the fonts the windows use, the command's name, version and
// translations; answers --help (the text `usage` makes once the translations
// are in place) and --version on standard output; otherwise returns what
// `body` returns for the arguments.
using ToolBody = std::function<int(const QStringList &args, const QString &usage, QTextStream &out, QTextStream &err)>;
int runTool(int argc, char **argv, const QString &name, const std::function<QString()> &usage, const ToolBody &body);

} // namespace zorelad
