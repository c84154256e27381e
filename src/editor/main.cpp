// zorelad-editor [TEXTDIR | FILE]: the teacher's editor for Zorelad's
// question bank, a Text folder or a bank text from zorelad-export.

#include "editorwindow.h"
#include "fonts.h"
#include "translation.h"

#include <QApplication>
#include <QLocale>
#include <QTextStream>

int main(int argc, char **argv)
{
    zorelad::installFontSubstitutions();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorelad-editor"));
    QApplication::setApplicationVersion(QStringLiteral(ZORELAD_VERSION));
    // Ukrainian, like the quiz, unless the locale names a language.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    zorelad::installTranslations(
        {QStringLiteral("zorelad-editor"), QStringLiteral("zorelad-bank"), QStringLiteral("qtbase")});

    const QStringList args = QApplication::arguments().mid(1);
    QTextStream out(stdout);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << QCoreApplication::translate("main",
                                           "Usage: zorelad-editor [TEXTDIR | FILE]\n"
                                           "Edits Zorelad's questions: a Text folder (by default the "
                                           "installed one) or a bank text written by zorelad-export.\n");
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        out << "zorelad-editor " << QApplication::applicationVersion() << '\n';
        return 0;
    }
    if (args.size() > 1) {
        QTextStream(stderr) << QCoreApplication::translate("main", "Usage: zorelad-editor [TEXTDIR | FILE]\n");
        return 2;
    }

    zorelad::EditorWindow window;
    window.openLocation(args.isEmpty() ? zorelad::EditorWindow::quizFolder() : args.first());
    window.show();
    return app.exec();
}
