// Failure texts and the boxes that show them: the period a default error
// text gets, the title the boxes carry, and a failure shown without
// stopping the program.

#include "errorbox.h"
#include "failure.h"
#include "modalwatcher.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace zorelad;

class ErrorBoxTest : public QObject {
    Q_OBJECT

private slots:
    void defaultErrorTextAddsAPeriod_data();
    void defaultErrorTextAddsAPeriod();
    void applicationTitle_data();
    void applicationTitle();
    void boxesCarryTheirTitlesAndButtons();
    void guardedShowsAFailureAndGoesOn();

private:
    ModalWatcher watcher;
};

void ErrorBoxTest::defaultErrorTextAddsAPeriod_data()
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

void ErrorBoxTest::defaultErrorTextAddsAPeriod()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(defaultErrorText(text), shown);
}

void ErrorBoxTest::applicationTitle_data()
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

void ErrorBoxTest::applicationTitle()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QCOMPARE(applicationTitleFor(file), title);
}

void ErrorBoxTest::boxesCarryTheirTitlesAndButtons()
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

void ErrorBoxTest::guardedShowsAFailureAndGoesOn()
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

QTEST_MAIN(ErrorBoxTest)
#include "tst_errorbox.moc"
