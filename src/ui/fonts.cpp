#include "fonts.h"

namespace zorelad {

void installFontSubstitutions()
{
    // Each family keeps a single entry however often this runs.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Monotype Corsiva"), QStringLiteral("Z003"));
    QFont::insertSubstitution(QStringLiteral("Palatino Linotype"), QStringLiteral("P052"));
    QFont::insertSubstitution(QStringLiteral("Haettenschweiler"), QStringLiteral("PT Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Nimbus Mono PS"));
}

QFont pixelFont(const QString &family, int pixelHeight, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont mainWindowFont() { return pixelFont(QStringLiteral("MS Sans Serif"), 11); }

} // namespace zorelad
