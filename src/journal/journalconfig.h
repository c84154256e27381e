#pragma once
// Where the results journal goes, from the machine's and the user's
// configuration files (INI). The journal is off unless a file names a folder.
//
//   [journal]
//   folder=/srv/zorelad-journal   ; absent or empty: no journal
//   host=lab-07                   ; optional: the name of this computer's file

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

// Reads both files, a key in the user's file winning over the machine's.
// A file that cannot be read as INI, or a folder that is not an absolute
// path, is left out and described in `problems`.
JournalConfig readJournalConfig(const ConfigFiles &files, QStringList *problems);

// The name the journal file of this computer takes: the configured host or
// the host name, with anything that cannot stand in a file name replaced.
QString journalHostName(const JournalConfig &config);

} // namespace zorelad
