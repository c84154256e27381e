// zorelad-check DIR: checks the question files below DIR (1/1.z .. 3/24.z)
// and prints every problem found. Exit status 0 only when all is well.

#include "fonts.h"
#include "questioncheck.h"
#include "translation.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    // Measuring texts needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorelad::installFontSubstitutions();
    QApplication app(argc, argv);
    zorelad::installTranslations({QStringLiteral("zorelad-bank")});
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        err << "usage: zorelad-check DIR   (DIR holds 1/1.z .. 3/24.z, for instance Text/)\n";
        return 2;
    }
    const QStringList problems = zorelad::checkQuestionFolder(args[1]);
    for (const QString &problem : problems)
        out << problem << '\n';
    if (problems.isEmpty())
        out << "All 72 question files are fine.\n";
    else
        out << problems.size() << " problem(s) found.\n";
    return problems.isEmpty() ? 0 : 1;
}
