#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zorelad {

QString programDirectory() { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }

static QString matchIgnoringCase(const QString &directory, const QString &name)
{
    const QStringList entries =
        QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QString resolvePath(const QString &path)
{
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = QStringLiteral("/");
    bool found = true;
    for (const QString &part : parts) {
        QString next = resolved + part;
        if (found && !QFileInfo::exists(next)) {
            const QString match = matchIgnoringCase(resolved, part);
            if (match.isEmpty())
                found = false;
            else
                next = resolved + match;
        }
        resolved = next + QLatin1Char('/');
    }
    resolved.chop(1);
    if (resolved.isEmpty())
        resolved = QStringLiteral("/");
    return resolved;
}

} // namespace zorelad
