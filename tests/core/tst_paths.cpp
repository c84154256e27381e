// Finding the program's files whatever the case of their names.

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zorelad;

class PathsTest : public QObject {
    Q_OBJECT

private slots:
    void pathsIgnoreCaseWhenTheExactNameIsMissing();
};

void PathsTest::pathsIgnoreCaseWhenTheExactNameIsMissing()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Media/Sub"));
    QFile(dir.path() + QStringLiteral("/Media/Sub/S.BMP")).open(QIODevice::WriteOnly);
    QDir(dir.path()).mkpath(QStringLiteral("Текст"));
    const QString base = dir.path() + QLatin1Char('/');
    QCOMPARE(resolvePath(base + QStringLiteral("media/sub/s.bmp")), base + QStringLiteral("Media/Sub/S.BMP"));
    QCOMPARE(resolvePath(base + QStringLiteral("ТЕКСТ")), base + QStringLiteral("Текст"));
    // A missing component keeps its spelling, and so does the rest.
    QCOMPARE(resolvePath(base + QStringLiteral("media/none/s.bmp")), base + QStringLiteral("Media/none/s.bmp"));
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QCOMPARE(resolvePath(QStringLiteral("MEDIA/sub/s.bmp")),
             QDir(dir.path()).canonicalPath() + QStringLiteral("/Media/Sub/S.BMP"));
    QDir::setCurrent(old);
}

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
