// The grade line chosen for a level and a count of correct answers, the
// class line built around the class as typed, and the lines fitted to the page.

#include "certificate.h"
#include "certificatepage.h"
#include "cupsprinter.h"

#include <QPainter>
#include <QtTest>

class CertificateResultTest : public QObject {
    Q_OBJECT
private slots:
    void resultText_data();
    void resultText();
    void classLineKeepsTheClassAsTyped();
    void resolution_data();
    void resolution();
    void linesFitTheFrame_data();
    void linesFitTheFrame();
};

void CertificateResultTest::resultText_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("correct");
    QTest::addColumn<QString>("expected");
    for (int level = 1; level <= 3; ++level) {
        const QString excellent = QStringLiteral("%1 рівня ВІДМІННО").arg(level);
        const QString good = QStringLiteral("%1 рівня ДОБРЕ").arg(level);
        // One row per grade band; the bands' own boundaries are tested where they are drawn.
        QTest::addRow("level %d, excellent", level) << level << 24 << excellent;
        QTest::addRow("level %d, good", level) << level << 16 << good;
        QTest::addRow("level %d, unsatisfactory", level) << level << 13 << QString();
        QTest::addRow("level %d, no band", level) << level << 25 << QString();
    }
    for (int correct : {0, 14, 20, 24})
        QTest::addRow("level 0, %d", correct) << 0 << correct << QString();
    QTest::newRow("level 4") << 4 << 24 << QString();
    QTest::newRow("level -1") << -1 << 20 << QString();
}

void CertificateResultTest::resultText()
{
    QFETCH(int, level);
    QFETCH(int, correct);
    QFETCH(QString, expected);
    QCOMPARE(zorelad::certificateResultText(level, correct), expected);
}

void CertificateResultTest::classLineKeepsTheClassAsTyped()
{
    QCOMPARE(zorelad::certificateClassLine(QStringLiteral("5-А")), QStringLiteral("учень 5-А класу"));
    QCOMPARE(zorelad::certificateClassLine(QStringLiteral("  11 Б ")), QStringLiteral("учень   11 Б  класу"));
    QCOMPARE(zorelad::certificateClassLine(QString()), QStringLiteral("учень  класу"));
}

void CertificateResultTest::resolution_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("dpi");
    QTest::newRow("dpi") << QByteArray("300dpi") << 300;
    QTest::newRow("vertical of two, spaced, capitals") << QByteArray(" 600X150DPI ") << 150;
    QTest::newRow("dots per cm") << QByteArray("118dpcm") << 300;
    for (const char *bad : {"71dpi", "9601dpi", "123456dpi", "300", "300x", "300xdpi", "x300dpi", "dpi", "300 dpi",
                            "300dpix", "-300dpi", ""})
        QTest::newRow(bad) << QByteArray(bad) << 0;
}

void CertificateResultTest::resolution()
{
    QFETCH(QByteArray, text);
    QFETCH(int, dpi);
    QCOMPARE(zorelad::resolutionDpi(text), dpi);
}

void CertificateResultTest::linesFitTheFrame_data()
{
    QTest::addColumn<int>("letters");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("cut");
    QTest::newRow("10") << 10 << 20 << false;
    QTest::newRow("21") << 21 << 19 << false;
    QTest::newRow("23") << 23 << 17 << false;
    QTest::newRow("38") << 38 << 10 << false;
    QTest::newRow("60") << 60 << 10 << true;
}

// A name at 300 dpi: where it was placed, inside the picture's frame, at
// its own size when it fits.
void CertificateResultTest::linesFitTheFrame()
{
    QFETCH(int, letters);
    QFETCH(int, points);
    QFETCH(bool, cut);
    QImage page(2550, 3300, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    QPainter painter(&page);
    const QString name = QStringLiteral("Олександр Володимиренко ").repeated(3).left(letters);
    const QString line = zorelad::fitCertificateLine(painter, name, 20, 1000);
    const QRect cell = zorelad::drawTextCell(painter, QPoint(1000, 1700), line);
    QCOMPARE(painter.font().pointSize(), points);
    QCOMPARE(line.endsWith(QChar(0x2026)), cut);
    QVERIFY(cell.topLeft() == QPoint(1000, 1700) && cell.right() < zorelad::CertificateTextRight);
}

QTEST_MAIN(CertificateResultTest)
#include "tst_certificateresult.moc"
