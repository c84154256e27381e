#pragma once
// The program's windows name classic Windows fonts; Linux has none of them,
// so each is mapped to a free font with the whole Ukrainian alphabet.

#include <QFont>
#include <QString>

namespace zorelad {

// Maps the fonts the windows name onto the installed replacements. Called
// once at start-up, before any window is created.
void installFontSubstitutions();

// A font of the given family and character height in pixels.
QFont pixelFont(const QString &family, int pixelHeight, bool bold = false, bool italic = false);

// The main window's font, which its widgets inherit.
QFont mainWindowFont();

} // namespace zorelad
