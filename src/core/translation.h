#pragma once
// The teachers' tools speak the language of the user's locale: Ukrainian
// under a Ukrainian locale (LANG=uk_UA.UTF-8), English, the language of their
// source, otherwise.

#include <QStringList>

namespace zorelad {

// Installs a translator for each catalogue NAME (built from NAME_LANG.ts)
// that exists for the system locale's language. Looks in the translations
// folder beside the executable (the build tree), then in
// ../share/zorelad/translations (installed), then in Qt's own folder.
// A language without a catalogue gets the English one (which holds the
// plural forms). Needs the application object; returns the catalogues
// installed. Qt's own catalogue ("qtbase", the words of its standard buttons
// and dialogs) is one the teachers' tools name; the quiz never does, so that
// the pupil's windows keep the words they were made with.
QStringList installTranslations(const QStringList &names);

} // namespace zorelad
