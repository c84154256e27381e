#pragma once
// File locations. Data copied from a Windows machine names one folder both
// "Media" and "media", so each path component is looked up without regard to
// case when the exact name is missing.

#include <QString>

namespace zorelad {

// The directory of the running executable, with a trailing '/'.
QString programDirectory();

// The path with every component that does not exist as written replaced by an
// entry of its directory whose name differs only in case. Components that match
// nothing are kept as written. A relative path is taken from the working
// directory and the result is absolute.
QString resolvePath(const QString &path);

} // namespace zorelad
