#pragma once
// Where the results journal goes, from the machine's and the user's
// configuration files (INI). The journal is off unless a file names a folder.
//
//   [journal]
//   folder=/srv/zorelad-journal   ; absent or empty: no journal
//   host=lab-07                   ; optional, machine's file only: this computer's name
//
//   [marks]
//   thresholds=3,5,7,9,11,13,15,17,19,21,23   ; optional: the least right answers
//                                             ; for the marks 2 to 12
//
// ZORELAD_CONFIG, when set, names the one settings file read instead.

#include <QString>
#include <QList>
#include <QStringList>

namespace zorelad {

struct ConfigFiles {
    QString machine; // /etc/zorelad/zorelad.conf
    QString user;    // $XDG_CONFIG_HOME/zorelad/zorelad.conf (~/.config/...)
};

ConfigFiles defaultConfigFiles();

inline constexpr int MarkThresholds = 11; // for the marks 2 to 12

// The least right answers of 24 for each mark from 2 to 12 when no settings
// say otherwise: 3, 5, 7 ... 23, so that the mark is half the right answers
// rounded up, and at least 1 (0-2 → 1, 3-4 → 2, ... 23-24 → 12).
QList<int> defaultMarkThresholds();

// The twelve-point mark of a count of right answers: 1 and one more for each
// threshold the count reaches.
int twelvePointMark(int correct, const QList<int> &thresholds);

struct JournalConfig {
    QString folder; // empty: the journal is off
    QString host;   // empty: the computer's host name
    QList<int> markThresholds = defaultMarkThresholds();
    bool enabled() const { return !folder.isEmpty(); }
};

// Reads both files, the user's folder and marks winning over the machine's; the host
// comes from the machine's file only. Every mistake (a file that is not a
// regular text file, an unknown section or key, a folder that is not an
// absolute path or holds characters a path should not have, thresholds that
// are not 11 counts 0-24 in rising order) is described in
// `problems` with the file and line, and left out.
JournalConfig readJournalConfig(const ConfigFiles &files, QStringList *problems);

// The name with anything that cannot stand in a file name replaced.
QString journalFileName(const QString &name);

// The name the journal file of this computer takes: the configured host or
// the host name, with anything that cannot stand in a file name replaced.
QString journalHostName(const JournalConfig &config);

} // namespace zorelad
