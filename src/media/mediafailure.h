#pragma once
// Failures of the media system as the player reports them.

#include "failure.h"

#include <QString>
#include <gst/gst.h>

namespace zorelad {

// The system's text for a failure it gave no text for.
inline QString orUnknown(const QString &text) { return text.isEmpty() ? QStringLiteral("Unknown error code") : text; }

[[noreturn]] inline void failWith(GError *error)
{
    const QString text = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    throw Failure(orUnknown(text));
}

} // namespace zorelad
