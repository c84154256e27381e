#pragma once
// Where the results journal goes, from the machine's and the user's
// configuration files (INI). The journal is off unless a file names a folder.
//
//   [journal]
//   folder=/srv/zorelad-journal   ; absent or empty: no journal
//   host=lab-07                   ; optional, machine's file only: this computer's name
//
// ZORELAD_CONFIG, when set, names the one settings file read instead.

#include <QString>
#include <QStringList>

namespace zorelad {

struct ConfigFiles {
    QString machine; // /etc/zorelad/zorelad.conf
    QString user;    // $XDG_CONFIG_HOME/zorelad/zorelad.conf (~/.config/...)
};

ConfigFiles defaultConfigFiles();

struct JournalConfig {
    QString folder; // empty: the journal is off
    QString host;   // empty: the computer's host name
    bool enabled() const { return !folder.isEmpty(); }
};

// Reads both files, the user's folder winning over the machine's; the host
// comes from the machine's file only. Every mistake (a file that is not a
// regular text file, an unknown section or key, a folder that is not an
// absolute path or holds characters a path should not have) is described in
// `problems` with the file and line, and left out.
JournalConfig readJournalConfig(const ConfigFiles &files, QStringList *problems);

// The name with anything that cannot stand in a file name replaced.
QString journalFileName(const QString &name);

// The name the journal file of this computer takes: the configured host or
// the host name, with anything that cannot stand in a file name replaced.
QString journalHostName(const JournalConfig &config);

} // namespace zorelad
