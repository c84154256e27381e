#pragma once
// A program directory of the tests' own making, and start-up options that
// neither wait nor make a sound.

#include "startup.h"

#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A clock that moves only when slept on, starting at `startMs`.
zorelad::Clock fakeClock(qint64 startMs = 1000);

// Writes one question file (windows-1251, CR LF) below `programDir`.
void writeQuestion(const QString &programDir, int level, int number, const QString &question,
                   const QString &answer = QStringLiteral("1"));

// Writes a whole level whose right option is always 1.
void writeLevel(const QString &programDir, int level);

// Copies the shipped media files into `programDir`/Media.
void copyShippedMedia(const QString &programDir);

// Types a name and a class into the identification dialog and presses its
// start button, as a pupil does.
void identify(const zorelad::Windows &windows, const QString &name = QStringLiteral("Оля"),
              const QString &pupilClass = QStringLiteral("5-А"));

// A temporary program directory with three levels and the shipped media.
class ProgramDir {
public:
    ProgramDir(bool withMedia = true);
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    zorelad::StartupOptions options() const;

private:
    QTemporaryDir m_dir;
};

} // namespace testing_support
