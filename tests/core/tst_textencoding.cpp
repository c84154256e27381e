// Which encoding a teacher's text file is in.

#include "questionfile.h"

#include <QStringEncoder>
#include <QTest>

using namespace zorelad;

class TextEncodingTest : public QObject {
    Q_OBJECT

private slots:
    void encodingGuess_data();
    void encodingGuess();
};

void TextEncodingTest::encodingGuess_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QString text = QStringLiteral("Яка планета найближча до Сонця?\r\nМеркурій\r\nВенера\r\nЗемля\r\n1\r\n");
    QTest::newRow("windows-1251") << QByteArray(QStringEncoder("windows-1251").encode(text))
                                  << int(FileEncoding::Windows1251);
    QTest::newRow("UTF-8") << text.toUtf8() << int(FileEncoding::Utf8);
    QTest::newRow("UTF-8 BOM") << "\xEF\xBB\xBF" + text.toUtf8() << int(FileEncoding::Utf8Bom);
    QTest::newRow("UTF-16") << QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(text))
                            << int(FileEncoding::Utf16);
    QTest::newRow("KOI8-U") << QByteArray(QStringEncoder("KOI8-U").encode(text)) << int(FileEncoding::Koi8u);
}

void TextEncodingTest::encodingGuess()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(guessEncoding(bytes)), encoding);
    // Whatever it was saved in, the question reads back as written.
    QCOMPARE(decodeQuestion(bytes, guessEncoding(bytes)).options[0], QStringLiteral("Меркурій"));
}

QTEST_GUILESS_MAIN(TextEncodingTest)
#include "tst_textencoding.moc"
