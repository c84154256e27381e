// zorelad-export TEXTDIR [FILE]: writes the questions below TEXTDIR (all three
// levels, or one level's folder) as one UTF-8 text for any text editor.

#include "banktools.h"
#include "failure.h"

#include <QCoreApplication>

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
    return zorelad::runTool(argc, argv, QStringLiteral("zorelad-export"), usage,
                            [](const QStringList &args, const QString &usage, QTextStream &, QTextStream &err) {
                                if (args.isEmpty() || args.size() > 2 || args[0].startsWith(QLatin1Char('-'))) {
                                    err << usage;
                                    return 2;
                                }
                                try {
                                    return zorelad::writeExport(zorelad::exportBank(args[0]), args.value(1), err);
                                } catch (const zorelad::Failure &failure) {
                                    err << failure.text() << '\n';
                                    return 1;
                                }
                            });
}
