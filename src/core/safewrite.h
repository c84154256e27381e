#pragma once
// Writing files so that a failure is always reported and never leaves a
// half-written file in place of a whole one: every write, flush, fsync and
// close is checked, and a file is replaced only by a rename of a complete
// temporary beside it. Nothing that is not a regular file is ever replaced.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>
#include <sys/types.h>

namespace zorelad {

// What writes a file's bytes: the file itself, or for tests a device that
// wraps it (one that fails after some bytes, say).
using DeviceFilter = std::function<std::unique_ptr<QIODevice>(QIODevice *file)>;

// Writes all of `bytes` to the device; returns an empty text, or the reason
// the device gave for stopping.
QString writeAll(QIODevice &device, const QByteArray &bytes);

// Creates the file `path` (which must not exist) with `mode` and writes the
// bytes to the disk; on failure removes what it made and returns the
// reason (the path is not part of it).
QString writeNewFile(const QString &path, const QByteArray &bytes, mode_t mode, const DeviceFilter &filter = {});

// Writes the bytes to a file a user named: a regular file, or a new one, is
// replaced whole through a temporary beside it (keeping its permissions);
// a device or a pipe is written into, as the shell's '>' would; a folder is
// refused. A new file gets `newMode` (by default what the umask leaves of
// 0666). Returns an empty text, or a sentence naming the file and reason.
QString writeOutputFile(const QString &path, const QByteArray &bytes, mode_t newMode = 0);

// Writes the bytes to standard output and closes it, reporting a failed
// write, flush or close. Returns an empty text or the reason.
QString writeStandardOutput(const QByteArray &bytes);

// "Cannot write "PATH": REASON"
QString cannotWrite(const QString &path, const QString &reason);

// The system's text for an errno value.
QString systemReason(int error);

} // namespace zorelad
