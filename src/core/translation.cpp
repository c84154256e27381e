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
    // English is the source's language; its catalogue only holds the plural
    // forms, and it serves every language without a catalogue of its own.
    const QList<QLocale> locales = {QLocale(), QLocale(QLocale::English)};
    QStringList installed;
    for (const QString &name : names) {
        for (const QLocale &locale : locales) {
            if (installed.contains(name))
                break;
            for (const QString &folder : folders) {
                // Parented to the application, the translator lives as long as it.
                auto *translator = new QTranslator(QCoreApplication::instance());
                if (translator->load(locale, name, QStringLiteral("_"), folder)
                    && QCoreApplication::installTranslator(translator)) {
                    installed << name;
                    break;
                }
                delete translator;
            }
        }
    }
    return installed;
}

} // namespace zorelad
