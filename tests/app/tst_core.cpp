// The pieces every window relies on: failure texts and boxes, the start-up
// pause, the grade bands, the background picture's decoder and path lookup.

#include "errorbox.h"
#include "failure.h"
#include "gradeband.h"
#include "jpegimage.h"
#include "modalwatcher.h"
#include "paths.h"
#include "pictures.h"
#include "programfixture.h"
#include "startup.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

using namespace zorelad;

class CoreTest : public QObject {
    Q_OBJECT

private slots:
    void defaultErrorTextAddsAPeriod_data();
    void defaultErrorTextAddsAPeriod();
    void applicationTitle_data();
    void applicationTitle();
    void boxesCarryTheirTitlesAndButtons();
    void guardedShowsAFailureAndGoesOn();
    void gradeBandBoundaries_data();
    void gradeBandBoundaries();
    void pauseEndsFourToFiveSecondsLater_data();
    void pauseEndsFourToFiveSecondsLater();
    void backgroundPictureDecodes();
    void brokenJpegFailsWithLibjpegsNumber();
    void pathsIgnoreCaseWhenTheExactNameIsMissing();

private:
    ModalWatcher watcher;
};

void CoreTest::defaultErrorTextAddsAPeriod_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("word") << "No MCI device open"
                          << "No MCI device open.";
    QTest::newRow("cyrillic") << "Помилка"
                              << "Помилка.";
    QTest::newRow("period") << "Resource not found."
                            << "Resource not found.";
    QTest::newRow("bang") << "Увага!"
                          << "Увага!";
    QTest::newRow("quote") << "Cannot open \"x\""
                           << "Cannot open \"x\"";
    QTest::newRow("paren") << "(x)"
                           << "(x)";
    QTest::newRow("hyphen") << "a -"
                            << "a -";
    QTest::newRow("space") << "a "
                           << "a ";
    QTest::newRow("slash is above the period") << "a/"
                                               << "a/.";
    QTest::newRow("empty") << ""
                           << "";
}

void CoreTest::defaultErrorTextAddsAPeriod()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(defaultErrorText(text), shown);
}

void CoreTest::applicationTitle_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "/usr/lib/zorelad/zorelad"
                           << "zorelad";
    QTest::newRow("windows") << "C:\\ZORELAD.EXE"
                             << "C:\\zorelad";
    QTest::newRow("capitals") << "ZoreLAD.exe"
                              << "Zorelad";
    QTest::newRow("two dots") << "Quiz.v1.exe"
                              << "Quiz";
}

void CoreTest::applicationTitle()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QCOMPARE(applicationTitleFor(file), title);
}

void CoreTest::boxesCarryTheirTitlesAndButtons()
{
    QStringList buttons;
    QString title;
    watcher.setAnswer([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        title = box->windowTitle();
        buttons.clear();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        QCOMPARE(box->icon(), QMessageBox::Critical);
        box->defaultButton()->click();
    });
    showRefusal(QStringLiteral("Виберіть клас!"));
    QCOMPARE(title, QStringLiteral("Error"));
    QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(watcher.seen().last().text, QStringLiteral("Виберіть клас!"));

    showDefaultError(QStringLiteral("Stream read error"));
    QCOMPARE(title, applicationTitleFor(QCoreApplication::applicationFilePath()));
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(watcher.seen().last().text, QStringLiteral("Stream read error."));
    watcher.setAnswer(nullptr);
}

void CoreTest::guardedShowsAFailureAndGoesOn()
{
    watcher.clear();
    QStringList steps;
    guarded([&] {
        steps << "first";
        throw Failure(QStringLiteral("Bitmap image is not valid"));
        steps << "never";
    });
    steps << "after";
    QCOMPARE(steps, (QStringList{"first", "after"}));
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Bitmap image is not valid.")});
    QVERIFY(!defaultErrorShowing());
}

void CoreTest::gradeBandBoundaries_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<GradeBand>("band");
    QTest::newRow("-1") << -1 << GradeBand::None;
    QTest::newRow("0") << 0 << GradeBand::Unsatisfactory;
    QTest::newRow("13") << 13 << GradeBand::Unsatisfactory;
    QTest::newRow("14") << 14 << GradeBand::Good;
    QTest::newRow("19") << 19 << GradeBand::Good;
    QTest::newRow("20") << 20 << GradeBand::Excellent;
    QTest::newRow("24") << 24 << GradeBand::Excellent;
    QTest::newRow("25") << 25 << GradeBand::None;
}

void CoreTest::gradeBandBoundaries()
{
    QFETCH(int, correct);
    QFETCH(GradeBand, band);
    QCOMPARE(gradeBand(correct), band);
}

void CoreTest::pauseEndsFourToFiveSecondsLater_data()
{
    QTest::addColumn<qint64>("startMs");
    QTest::newRow("on a second") << qint64(7000);
    QTest::newRow("just after") << qint64(7001);
    QTest::newRow("middle") << qint64(7500);
    QTest::newRow("just before the next") << qint64(7999);
    QTest::newRow("at zero") << qint64(0);
}

void CoreTest::pauseEndsFourToFiveSecondsLater()
{
    QFETCH(qint64, startMs);
    const Clock clock = testing_support::fakeClock(startMs);
    startupPause(clock);
    const qint64 waited = clock.nowMs() - startMs;
    QVERIFY2(waited > 4000 && waited <= 5000, qPrintable(QString::number(waited)));
    QCOMPARE(clock.nowMs() % 1000, qint64(0));
}

void CoreTest::backgroundPictureDecodes()
{
    const QImage image = backgroundPicture();
    QCOMPARE(image.size(), QSize(722, 722));
    // A sky above and a field below: blue on top, warm below.
    const QColor sky = image.pixelColor(361, 40);
    const QColor field = image.pixelColor(361, 680);
    QVERIFY(sky.blue() > sky.red());
    QVERIFY(field.red() > field.blue());
}

void CoreTest::brokenJpegFailsWithLibjpegsNumber()
{
    auto failureOf = [](const QByteArray &bytes) {
        try {
            decodeJpeg(bytes);
        } catch (const Failure &failure) {
            return failure.text();
        }
        return QString();
    };
    QCOMPARE(failureOf(QByteArray()), QStringLiteral("JPEG error #%1").arg(JERR_INPUT_EMPTY));
    QCOMPARE(failureOf(QByteArray("GIF89a not a jpeg at all")), QStringLiteral("JPEG error #%1").arg(JERR_NO_SOI));

    // A truncated stream is only a warning for libjpeg: the picture comes
    // back whole in size, its missing part filled in.
    const QByteArray whole = pictureBytes(QStringLiteral("background.jpg"));
    QVERIFY(whole.size() > 1000);
    const QImage truncated = decodeJpeg(whole.left(whole.size() / 2));
    QCOMPARE(truncated.size(), QSize(722, 722));
    // Cut inside the header: a failure, not a crash.
    QVERIFY(failureOf(whole.left(40)).startsWith(QStringLiteral("JPEG error #")));
}

void CoreTest::pathsIgnoreCaseWhenTheExactNameIsMissing()
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

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
