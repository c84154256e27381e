// A pupil finishes a level and presses "Роздрукувати сертифікат": the page
// reaches a private CUPS queue, or the failure reaches the screen and the
// program goes on.

#include "identification.h"
#include "modalwatcher.h"
#include "privatecups.h"
#include "programfixture.h"
#include "startup.h"
#include "mainwindow.h"
#include "widgetlookup.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTest>

using namespace zorelad;
using testing_support::widget;

class CertificateWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void printsTheLevelJustFinished_data();
    void printsTheLevelJustFinished();
    void printerFailuresReachTheScreen_data();
    void printerFailuresReachTheScreen();
    void aPrinterVanishingBetweenTwoPresses();
    void aBrokenPictureIsReportedAndNothingPrinted();
    void aStoppedSchedulerLeavesTheWindowPainting();

private:
    void finishLevel(int level, int correct);
    void pressPrint();
    QString pageText(const QString &pdf) const;

    PrivateCups cups; // first, before anything in the process talks to CUPS
    std::unique_ptr<testing_support::ProgramDir> dir;
    Windows windows;
    ModalWatcher watcher;
    QString output;
    QString oldCurrent;
};

void CertificateWindowTest::initTestCase()
{
    QVERIFY2(cups.isRunning(), qPrintable(cups.error()));
    output = cups.directory() + QStringLiteral("/certificate.pdf");
    QVERIFY2(cups.addPdfQueue(QStringLiteral("Class"), output, 300), qPrintable(cups.error()));
    oldCurrent = QDir::currentPath();
}

void CertificateWindowTest::init()
{
    QVERIFY(cups.setDefault(QStringLiteral("Class")));
    QVERIFY(cups.setUserDefault(QString()));
    QVERIFY(cups.acceptJobs(QStringLiteral("Class")));
    QFile::remove(output);
    dir = std::make_unique<testing_support::ProgramDir>();
    // The certificate picture is found from the working directory, as the
    // program's desktop entry starts it in its own directory.
    QDir::setCurrent(dir->path());
    windows = createWindows(dir->options());
    windows.Form1->show();
    testing_support::identify(windows, QStringLiteral("Петренко  Олена"), QStringLiteral("6-Б"));
    watcher.clear();
}

void CertificateWindowTest::cleanup()
{
    windows = Windows();
    QDir::setCurrent(oldCurrent);
    dir.reset();
}

void CertificateWindowTest::finishLevel(int level, int correct)
{
    widget<QAction>(windows.Form1, QStringLiteral("N%1").arg(5 + level))->trigger();
    for (int i = 0; i < 24; ++i) {
        widget<QRadioButton>(windows.Form1, i < correct ? "RadioButton1" : "RadioButton3")->click();
        widget<QPushButton>(windows.Form1, "BitBtn1")->click();
    }
    QVERIFY(widget<QPushButton>(windows.Form1, "BitBtn2")->isVisible());
}

void CertificateWindowTest::pressPrint()
{
    widget<QPushButton>(windows.Form1, "BitBtn2")->click();
    QVERIFY(cups.waitForJobs());
}

QString CertificateWindowTest::pageText(const QString &pdf) const
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

void CertificateWindowTest::printsTheLevelJustFinished_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("correct");
    QTest::addColumn<QString>("result");
    QTest::newRow("excellent") << 3 << 22 << "3 рівня ВІДМІННО";
    QTest::newRow("good, 18") << 1 << 18 << "1 рівня ДОБРЕ";
    // 14 to 16 are graded "Добре" on screen and print as such.
    QTest::newRow("good, 15") << 2 << 15 << "2 рівня ДОБРЕ";
}

void CertificateWindowTest::printsTheLevelJustFinished()
{
    QFETCH(int, level);
    QFETCH(int, correct);
    QFETCH(QString, result);
    finishLevel(level, correct);
    const int before = cups.jobs().size();
    pressPrint();
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(cups.jobs().size(), before + 1);
    const QString text = pageText(output);
    const qsizetype classLine = text.indexOf(QStringLiteral("учень 6-Б класу"));
    // Text extraction widens runs of spaces, so the two the pupil typed show as some.
    const qsizetype name = text.indexOf(QRegularExpression(QStringLiteral("Петренко  +Олена")));
    const qsizetype grade = text.indexOf(result);
    QVERIFY2(classLine >= 0 && name > classLine && grade > name, qPrintable(text));
}

void CertificateWindowTest::printerFailuresReachTheScreen_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("no default") << "no default";
    QTest::newRow("rejecting") << "rejecting";
}

void CertificateWindowTest::printerFailuresReachTheScreen()
{
    QFETCH(QString, failure);
    finishLevel(1, 20);
    const int before = cups.jobs().size();
    QString expected;
    if (failure == QLatin1String("no default")) {
        // The scheduler forgets a deleted default and has none left.
        QVERIFY(cups.addPdfQueue(QStringLiteral("Spare"), output + QStringLiteral(".spare")));
        QVERIFY(cups.setDefault(QStringLiteral("Spare")));
        QVERIFY(cups.deleteQueue(QStringLiteral("Spare")));
        expected = QStringLiteral("There is no default printer currently selected.");
    } else {
        QVERIFY(cups.rejectJobs(QStringLiteral("Class")));
        expected = QStringLiteral("Printer selected is not valid.");
    }
    widget<QPushButton>(windows.Form1, "BitBtn2")->click();
    QCOMPARE(watcher.texts(), QStringList{expected});
    QCOMPARE(watcher.seen()[0].objectName, QStringLiteral("DefaultErrorBox"));
    QCOMPARE(cups.jobs().size(), before);
    // The program goes on: once the printer is back, the same button prints.
    QVERIFY(cups.setDefault(QStringLiteral("Class")));
    QVERIFY(cups.acceptJobs(QStringLiteral("Class")));
    pressPrint();
    QCOMPARE(cups.jobs().size(), before + 1);
}

void CertificateWindowTest::aPrinterVanishingBetweenTwoPresses()
{
    QVERIFY(cups.addPdfQueue(QStringLiteral("Corridor"), output + QStringLiteral(".corridor")));
    QVERIFY(cups.setUserDefault(QStringLiteral("Corridor")));
    finishLevel(2, 21);
    pressPrint();
    QVERIFY(watcher.seen().isEmpty());
    QVERIFY(QFile::exists(output + QStringLiteral(".corridor")));
    QVERIFY(cups.deleteQueue(QStringLiteral("Corridor")));
    widget<QPushButton>(windows.Form1, "BitBtn2")->click();
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Printer selected is not valid.")});
}

void CertificateWindowTest::aBrokenPictureIsReportedAndNothingPrinted()
{
    finishLevel(1, 24);
    QFile picture(dir->path() + QStringLiteral("Media/s.bmp"));
    QVERIFY(picture.open(QIODevice::WriteOnly | QIODevice::Truncate));
    picture.write("BM\x10\x00");
    picture.close();
    const int before = cups.jobs().size();
    widget<QPushButton>(windows.Form1, "BitBtn2")->click();
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Stream read error.")});
    QFile::remove(picture.fileName());
    widget<QPushButton>(windows.Form1, "BitBtn2")->click();
    QCOMPARE(watcher.texts().size(), 2);
    QVERIFY(watcher.texts()[1].startsWith(QStringLiteral("Cannot open file \"")));
    QVERIFY(watcher.texts()[1].endsWith(QStringLiteral("Media/s.bmp\". No such file or directory.")));
    QCOMPARE(cups.jobs().size(), before);
    // The level can be played again.
    widget<QAction>(windows.Form1, "N6")->trigger();
    QVERIFY(widget<QPushButton>(windows.Form1, "BitBtn1")->isVisible());
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int m_count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

void CertificateWindowTest::aStoppedSchedulerLeavesTheWindowPainting()
{
    finishLevel(2, 20);
    const int before = cups.jobs().size();
    PaintCounter painted(windows.Form1.get());
    QTimer repaint;
    connect(&repaint, &QTimer::timeout, windows.Form1.get(), qOverload<>(&QWidget::update));
    repaint.start(100);
    QVERIFY(cups.freeze());
    QElapsedTimer clock;
    clock.start();
    windows.Form1->findChild<QPushButton *>("BitBtn2")->click();
    const qint64 waited = clock.elapsed();
    QVERIFY(cups.thaw());
    qInfo("the box after %lld ms, %d repaints meanwhile", waited, painted.m_count);
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Printer selected is not valid.")});
    QVERIFY2(waited < 8000, qPrintable(QString::number(waited)));
    QVERIFY2(painted.m_count >= 10, qPrintable(QString::number(painted.m_count)));
    QCOMPARE(cups.jobs().size(), before);
    // Woken again, the scheduler takes the next page.
    pressPrint();
    QCOMPARE(cups.jobs().size(), before + 1);
}

QTEST_MAIN(CertificateWindowTest)
#include "tst_certificatewindow.moc"
