#include "programfixture.h"

#include "identification.h"
#include "widgetlookup.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QFile>
#include <QStringEncoder>
#include <memory>

namespace testing_support {

zorelad::Clock fakeClock(qint64 startMs)
{
    auto now = std::make_shared<qint64>(startMs);
    return {[now] { return *now; }, [now](qint64 ms) { *now += ms; }};
}

void writeQuestion(const QString &programDir, int level, int number, const QString &question, const QString &answer)
{
    const QString folder = programDir + QStringLiteral("Text/%1").arg(level);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/%1.z").arg(number));
    file.open(QIODevice::WriteOnly);
    QStringEncoder encoder("windows-1251");
    const QString text =
        question + QStringLiteral("\r\nВаріант 1\r\nВаріант 2\r\nВаріант 3\r\n") + answer + QStringLiteral("\r\n");
    file.write(encoder.encode(text));
}

void writeLevel(const QString &programDir, int level)
{
    for (int n = 1; n <= 24; ++n)
        writeQuestion(programDir, level, n, QStringLiteral("Рівень %1, питання %2").arg(level).arg(n));
}

void copyShippedMedia(const QString &programDir)
{
    const QString source = qEnvironmentVariable("ZORELAD_SOURCE_DIR") + QStringLiteral("/data/Media/");
    QDir().mkpath(programDir + QStringLiteral("Media"));
    for (const QString &name : {QStringLiteral("track1.mp3"), QStringLiteral("1.avi"), QStringLiteral("s.bmp")})
        QFile::copy(source + name, programDir + QStringLiteral("Media/") + name);
}

void identify(const zorelad::Windows &windows, const QString &name, const QString &pupilClass)
{
    widget<QLineEdit>(windows.Form2, "Edit1")->setText(name);
    widget<QComboBox>(windows.Form2, "ComboBox1")->setEditText(pupilClass);
    widget<QPushButton>(windows.Form2, "Button1")->click();
}

ProgramDir::ProgramDir(bool withMedia)
{
    for (int level = 1; level <= 3; ++level)
        writeLevel(path(), level);
    if (withMedia)
        copyShippedMedia(path());
}

zorelad::StartupOptions ProgramDir::options() const
{
    zorelad::StartupOptions options;
    options.clock = fakeClock();
    options.sinks = {QStringLiteral("fakesink sync=true"), QStringLiteral("fakesink sync=true")};
    options.programDir = path();
    return options;
}

} // namespace testing_support
