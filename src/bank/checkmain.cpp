// zorelad-check DIR: checks the question files below DIR (1/1.z .. 3/24.z)
// and prints every problem found. Exit status 0 only when all is well.

#include "banktools.h"
#include "questioncheck.h"

#include <QCoreApplication>

namespace {
struct CheckMain {
    Q_DECLARE_TR_FUNCTIONS(CheckMain)
};
} // namespace

int main(int argc, char **argv)
{
    const auto usage = [] {
        return CheckMain::tr(
            "Usage: zorelad-check DIR\n"
            "Checks the 72 question files below DIR (1/1.z .. 3/24.z; installed: /etc/zorelad/Text)\n"
            "the way the program reads them: five lines each, the right option 1, 2 or 3, nothing empty\n"
            "or repeated, every text shown in full, windows-1251 text pupils may read.\n"
            "Exit status 0 when all is well, 1 when there are problems.\n");
    };
    return zorelad::runTool(argc, argv, QStringLiteral("zorelad-check"), usage,
                            [](const QStringList &args, const QString &usage, QTextStream &out, QTextStream &err) {
                                if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
                                    err << usage;
                                    return 2;
                                }
                                const QStringList problems = zorelad::checkQuestionFolder(args[0]);
                                for (const QString &problem : problems)
                                    out << problem << '\n';
                                if (problems.isEmpty())
                                    out << CheckMain::tr("All 72 question files are fine.") << '\n';
                                else
                                    out << CheckMain::tr("%n problem(s) found.", nullptr, int(problems.size())) << '\n';
                                return problems.isEmpty() ? 0 : 1;
                            });
}
