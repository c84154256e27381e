// zorelad-export TEXTDIR [FILE]: writes the questions below TEXTDIR (all three
// levels, or one level's folder) as one UTF-8 text for any text editor.

#include "bankfolder.h"
#include "failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

namespace {
struct Export {
    Q_DECLARE_TR_FUNCTIONS(Export)
};
} // namespace

int main(int argc, char **argv)
{
    const auto usage = [] {
        return Export::tr("Usage: zorelad-export TEXTDIR [FILE]\n"
                          "Writes the questions below TEXTDIR (a Text folder, or one level's folder such as Text/2)\n"
                          "as one UTF-8 text to FILE, or to standard output without FILE. Edit it in any text editor\n"
                          "and load it back with: sudo zorelad-import FILE TEXTDIR\n");
    };
    return zorelad::runTool(
        argc, argv, QStringLiteral("zorelad-export"), usage,
        [](const QStringList &args, const QString &usage, QTextStream &, QTextStream &err) {
            if (args.isEmpty() || args.size() > 2 || args[0].startsWith(QLatin1Char('-'))) {
                err << usage;
                return 2;
            }
            try {
                const QByteArray text = zorelad::exportBank(args[0]);
                if (args.size() == 1) {
                    QFile output;
                    output.open(stdout, QIODevice::WriteOnly);
                    output.write(text);
                    return 0;
                }
                QSaveFile output(args[1]);
                if (!output.open(QIODevice::WriteOnly) || output.write(text) != text.size() || !output.commit()) {
                    err << Export::tr("Cannot write \"%1\": %2").arg(args[1], output.errorString()) << '\n';
                    return 1;
                }
            } catch (const zorelad::Failure &failure) {
                err << failure.text() << '\n';
                return 1;
            }
            return 0;
        });
}
