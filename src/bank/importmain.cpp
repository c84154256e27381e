// zorelad-import FILE TEXTDIR: checks every question of the bank text FILE
// and, only when all are sound, writes them as question files below TEXTDIR.

#include "banktools.h"

#include <QCoreApplication>

namespace {
struct Import {
    Q_DECLARE_TR_FUNCTIONS(Import)
};
} // namespace

int main(int argc, char **argv)
{
    const auto usage = [] {
        return Import::tr(
            "Usage: zorelad-import FILE TEXTDIR\n"
            "Reads the questions in FILE (UTF-8 text as zorelad-export writes it; - reads standard input),\n"
            "checks every one and, only when all are sound, writes them as question files below TEXTDIR\n"
            "(for instance /etc/zorelad/Text, with sudo). Otherwise each problem is named with its line\n"
            "and no file is changed.\n");
    };
    return zorelad::runTool(argc, argv, QStringLiteral("zorelad-import"), usage,
                            [](const QStringList &args, const QString &usage, QTextStream &out, QTextStream &err) {
                                if (args.size() != 2
                                    || (args[0].startsWith(QLatin1Char('-')) && args[0] != QLatin1String("-"))) {
                                    err << usage;
                                    return 2;
                                }
                                return zorelad::importBank(args[0], args[1], out, err);
                            });
}
