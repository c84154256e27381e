#include "journalconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

namespace zorelad {

namespace {

struct JournalMessages {
    Q_DECLARE_TR_FUNCTIONS(JournalMessages)
};

struct FileValues {
    bool hasFolder = false;
    bool hasHost = false;
    QString folder;
    QString host;
};

FileValues readFile(const QString &path, QStringList *problems)
{
    FileValues values;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return values;
    auto problem = [&](const QString &what) {
        problems->append(JournalMessages::tr("%1: %2; the file is ignored").arg(path, what));
    };
    if (!info.isReadable()) {
        problem(JournalMessages::tr("cannot be read"));
        return values;
    }
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        problem(JournalMessages::tr("not a valid INI file"));
        return values;
    }
    settings.beginGroup(QStringLiteral("journal"));
    FileValues read;
    read.hasFolder = settings.contains(QStringLiteral("folder"));
    read.folder = settings.value(QStringLiteral("folder")).toString().trimmed();
    read.hasHost = settings.contains(QStringLiteral("host"));
    read.host = settings.value(QStringLiteral("host")).toString().trimmed();
    if (!read.folder.isEmpty() && !QDir::isAbsolutePath(read.folder)) {
        problem(JournalMessages::tr("folder \"%1\" is not an absolute path").arg(read.folder));
        return values;
    }
    return read;
}

} // namespace

ConfigFiles defaultConfigFiles()
{
    return {QStringLiteral("/etc/zorelad/zorelad.conf"),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                + QStringLiteral("/zorelad/zorelad.conf")};
}

JournalConfig readJournalConfig(const ConfigFiles &files, QStringList *problems)
{
    const FileValues machine = readFile(files.machine, problems);
    const FileValues user = readFile(files.user, problems);
    JournalConfig config;
    config.folder = user.hasFolder ? user.folder : machine.folder;
    config.host = user.hasHost ? user.host : machine.host;
    return config;
}

QString journalHostName(const JournalConfig &config)
{
    QString host = config.host.isEmpty() ? QSysInfo::machineHostName() : config.host;
    for (QChar &c : host) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.')))
            c = QLatin1Char('_');
    }
    if (host.isEmpty() || host.startsWith(QLatin1Char('.')))
        host.prepend(QLatin1String("host"));
    return host;
}

} // namespace zorelad
