// The about window's drifting credits.

#include "about.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "startup.h"
#include "mainwindow.h"
#include "widgetlookup.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace zorelad;
using testing_support::widget;

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void creditsWrapInTheSameTick();
    void labelsLookAsDesigned();
    void creditsDriftWhileHidden();
    void twoOpeningsShowDifferentPositions();

private:
    ModalWatcher watcher;
};

static QList<QLabel *> credits(TForm4 &form)
{
    QList<QLabel *> labels;
    for (const char *name : {"Label1", "Label2", "Label3", "Label4"})
        labels << widget<QLabel>(&form, name);
    return labels;
}

void AboutTest::creditsWrapInTheSameTick()
{
    QCOMPARE(nextCreditTop(119), 120);
    QCOMPARE(nextCreditTop(120), 28);
    QCOMPARE(nextCreditTop(28), 29);

    TForm4 form(nullptr);
    const QList<QLabel *> labels = credits(form);
    QCOMPARE(labels[0]->y(), 32);
    // Run a whole cycle and more: every top stays within 28..120, and the
    // lines keep their 24-pixel spacing modulo the 93-tick cycle.
    QSet<int> tops;
    for (int tick = 0; tick < 200; ++tick) {
        form.Timer1Timer();
        for (int i = 0; i < 4; ++i) {
            const int top = labels[i]->y();
            QVERIFY(top >= 28 && top <= 120);
            tops << top;
            const int expected = (labels[0]->y() - 28 + 24 * i) % 93 + 28;
            QCOMPARE(top, expected);
        }
    }
    QCOMPARE(tops.size(), 93);
}

void AboutTest::labelsLookAsDesigned()
{
    TForm4 form(nullptr);
    QCOMPARE(form.size(), QSize(339, 190));
    QCOMPARE(widget<QPushButton>(&form, "Button1")->text(), QStringLiteral("!ОК!"));
    QVERIFY(!widget<QPushButton>(&form, "Button1")->text().contains(QLatin1Char('O')));
    for (QLabel *label : credits(form)) {
        QVERIFY(!label->text().isEmpty());
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(label->palette().color(QPalette::Window), QColor(0, 0, 128));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pixelSize(), 16);
    }
    QCOMPARE(widget<QTimer>(&form, "Timer1")->interval(), 30);
}

void AboutTest::creditsDriftWhileHidden()
{
    TForm4 form(nullptr);
    QVERIFY(!form.isVisible());
    QLabel *first = credits(form)[0];
    const int start = first->y();
    QTest::qWait(200);
    form.show();
    QVERIFY(first->y() != start);
}

void AboutTest::twoOpeningsShowDifferentPositions()
{
    testing_support::ProgramDir dir;
    Windows windows = createWindows(dir.options());
    windows.Form1->show();
    QList<int> seenTops;
    watcher.setAnswer([&](QWidget *modal) {
        if (modal == windows.Form4) {
            seenTops << credits(*windows.Form4)[0]->y();
            widget<QPushButton>(windows.Form4, "Button1")->click();
        }
    });
    QAction *about = widget<QAction>(windows.Form1, "N10");
    about->trigger();
    QTest::qWait(100);
    about->trigger();
    watcher.setAnswer(nullptr);
    QCOMPARE(seenTops.size(), 2);
    QVERIFY(seenTops[0] != seenTops[1]);
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
