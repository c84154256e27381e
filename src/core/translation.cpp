#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zorelad {

QStringList installTranslations(const QStringList &names)
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList folders = {
        appDir + QStringLiteral("/translations"),
        QDir::cleanPath(appDir + QStringLiteral("/../share/zorelad/translations")),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
    };
    QStringList installed;
    for (const QString &name : names) {
        for (const QString &folder : folders) {
            // Parented to the application, the translator lives as long as it.
            auto *translator = new QTranslator(QCoreApplication::instance());
            if (translator->load(QLocale(), name, QStringLiteral("_"), folder)
                && QCoreApplication::installTranslator(translator)) {
                installed << name;
                break;
            }
            delete translator;
        }
    }
    return installed;
}

} // namespace zorelad
