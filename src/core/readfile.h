#pragma once
// Reading the data files beside the program, which people edit, copy and
// damage: a directory, a pipe or an unreadable file in a file's place ends in
// the usual "Cannot open file" failure, never a hang.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace zorelad {

// Feeds the file's bytes to `consume` in chunks until the end of the file or
// until `consume` returns false. Throws zorelad::Failure when the file cannot
// be opened or read.
void readFileInChunks(const QString &path, const std::function<bool(const char *data, qsizetype size)> &consume);

} // namespace zorelad
