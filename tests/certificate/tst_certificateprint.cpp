// Printing certificates for real through a private CUPS scheduler whose
// queues write each job's PDF to a file, then reading those pages back with
// poppler's tools: texts and their places, the picture's pixels, the white
// text cells, the font, and what happens with bad pictures and bad printers.

#include "bmpwriter.h"
#include "certificate.h"
#include "failure.h"
#include "privatecups.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cups/cups.h>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString NoDefault = QStringLiteral("There is no default printer currently selected");
const QString NotValid = QStringLiteral("Printer selected is not valid");

// The test picture: a blue field with a few single pixels of their own colour.
constexpr int PictureWidth = 900;
constexpr int PictureHeight = 1300;
const QRgb Field = qRgb(40, 90, 200);

QRgb pictureColour(int x, int y)
{
    if (x == 0 && y == 0)
        return qRgb(255, 0, 0);
    if (x == PictureWidth - 1 && y == 0)
        return qRgb(0, 255, 0);
    if (x == 0 && y == PictureHeight - 1)
        return qRgb(250, 250, 0);
    if (x == PictureWidth - 1 && y == 1200) // the bottom right corner lies under the class line
        return qRgb(0, 200, 200);
    if (x == 17 && y == 23)
        return qRgb(17, 34, 51);
    if (x == 18 && y == 23)
        return qRgb(200, 30, 120);
    return Field;
}

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax; // points
};

// Splits "-r 300 -png" into arguments.
QStringList args(const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); }

QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QList<Word> wordsOf(const QString &pdf)
{
    const QString html = QString::fromUtf8(runTool(QStringLiteral("pdftotext"), args("-bbox") << pdf << "-"));
    static const QRegularExpression re(QString::fromLatin1(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble()});
    }
    return words;
}

// Presses the print button once: the failure's text, empty when none.
QString printNow(int level = 2, int correct = 20, const QString &pupilClass = QStringLiteral("5-А"),
                 const QString &name = QStringLiteral("Петренко Олена"))
{
    try {
        zorelad::printCertificate(pupilClass, name, level, correct);
    } catch (const zorelad::Failure &f) {
        return f.text();
    }
    return QString();
}

// The top-left part of the first page (where everything is printed) at a
// resolution, one image pixel per printer pixel. pdftocairo draws a picture
// placed one to one exactly; pdftoppm stretches it by a pixel and smooths it.
QImage renderPage(const QString &pdf, int dpi)
{
    QImage page;
    const QStringList arguments = QStringList{QStringLiteral("-r"), QString::number(dpi)}
        + args("-x 0 -y 0 -W 2000 -H 2400 -singlefile -png") + QStringList{pdf, QStringLiteral("-")};
    page.loadFromData(runTool(QStringLiteral("pdftocairo"), arguments), "PNG");
    return page.convertToFormat(QImage::Format_RGB32);
}

QString pixelText(QRgb c) { return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)); }

int pageCount(const QString &pdf)
{
    static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = re.match(QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf})));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The page's text as lines, with runs of spaces kept.
QStringList layoutLines(const QString &pdf)
{
    const QString text = QString::fromUtf8(runTool(QStringLiteral("pdftotext"), args("-layout") << pdf << "-"));
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines;
}

const Word *findWord(const QList<Word> &words, const QString &text)
{
    for (const Word &w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

} // namespace

class CertificatePrintTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void printsTheCertificate();
    void keepsPicturePixelsExact();
    void coversThePictureWithWhiteTextCells();
    void followsThePrintersResolutionAndPaper_data();
    void followsThePrintersResolutionAndPaper();
    void printsClassAndNameExactlyAsTyped();
    void printsOnePagePerPress();
    void printsWithoutPictureWhenTheFileIsEmpty();
    void printsNothingWithoutAGoodResult();
    void printsRunLengthPictures_data();
    void printsRunLengthPictures();
    void refusesBadPictures_data();
    void refusesBadPictures();
    void reportsMissingDefaultPrinter();
    void reportsQueueThatRejectsJobs();
    void reportsDefaultThatNoLongerExists();
    void keepsJobOnStoppedQueue();
    void keepsThePageFileToItself_data();
    void keepsThePageFileToItself();
    void leavesNoFileWhenTerminated();

private:
    QString outputOf(const QString &queue) const { return m_out.filePath(queue + QStringLiteral(".pdf")); }
    bool addQueue(const QString &queue, int dpi, const QString &pageSize = QStringLiteral("A4"));
    void writePicture(const QByteArray &bytes);
    // Job ids only grow, and a deleted queue takes its jobs with it, so new
    // jobs are counted by id.
    int lastJobId() const;
    int jobsSince(int id) const;
    // Prints on a queue made the default and waits until the scheduler is done with it.
    QString printOn(const QString &queue, int level = 2, int correct = 20,
                    const QString &pupilClass = QStringLiteral("5-А"),
                    const QString &name = QStringLiteral("Петренко Олена"));
    void forgetDefault();

    PrivateCups *m_cups = nullptr;
    QTemporaryDir m_work;
    QTemporaryDir m_out;
    QString m_startDir;
    int m_goneQueues = 0;
};

void CertificatePrintTest::initTestCase()
{
    // The scheduler comes first: libcups must not be used before it is set up.
    m_cups = new PrivateCups;
    QVERIFY2(m_cups->isRunning(), qPrintable(m_cups->error()));
    QVERIFY(m_work.isValid() && m_out.isValid());
    for (const char *tool : {"pdftotext", "pdftocairo", "pdfinfo", "pdffonts", "pdfimages"})
        QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
    m_startDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_work.path()));
    QVERIFY(addQueue(QStringLiteral("Cert300"), 300));
}

void CertificatePrintTest::cleanupTestCase()
{
    QDir::setCurrent(m_startDir);
    delete m_cups;
}

void CertificatePrintTest::init()
{
    writePicture(writeBmp24(PictureWidth, PictureHeight, pictureColour));
    m_cups->setUserDefault(QString());
}

void CertificatePrintTest::cleanup() { qunsetenv("PRINTER"); }

int CertificatePrintTest::lastJobId() const
{
    int last = 0;
    for (const PrivateCupsJob &job : m_cups->jobs())
        last = qMax(last, job.id);
    return last;
}

int CertificatePrintTest::jobsSince(int id) const
{
    int count = 0;
    for (const PrivateCupsJob &job : m_cups->jobs())
        count += job.id > id ? 1 : 0;
    return count;
}

bool CertificatePrintTest::addQueue(const QString &queue, int dpi, const QString &pageSize)
{
    if (m_cups->addPdfQueue(queue, outputOf(queue), dpi, pageSize))
        return true;
    qWarning("%s", qPrintable(m_cups->error()));
    return false;
}

// The program asks for "media/s.bmp"; the folder is spelt as on Windows.
void CertificatePrintTest::writePicture(const QByteArray &bytes)
{
    QVERIFY(writeBytes(m_work.filePath(QStringLiteral("Media/s.bmp")), bytes));
}

QString CertificatePrintTest::printOn(const QString &queue, int level, int correct, const QString &pupilClass,
                                      const QString &name)
{
    if (!m_cups->setDefault(queue))
        return m_cups->error();
    QFile::remove(outputOf(queue));
    const QString failure = printNow(level, correct, pupilClass, name);
    if (!m_cups->waitForJobs(queue))
        return QStringLiteral("the job did not finish");
    return failure;
}

// Deleting the default queue is the one way to leave the scheduler without a default.
void CertificatePrintTest::forgetDefault()
{
    const QString queue = QStringLiteral("Gone%1").arg(++m_goneQueues);
    QVERIFY(addQueue(queue, 300));
    QVERIFY(m_cups->setDefault(queue));
    QVERIFY(m_cups->deleteQueue(queue));
    QVERIFY(!cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
}

void CertificatePrintTest::printsTheCertificate()
{
    const int before = lastJobId();
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    const QList<PrivateCupsJob> jobs = m_cups->jobs(QStringLiteral("Cert300"));
    QCOMPARE(jobsSince(before), 1);
    QCOMPARE(jobs.last().state, int(IPP_JSTATE_COMPLETED));

    const QString pdf = outputOf(QStringLiteral("Cert300"));
    QCOMPARE(pageCount(pdf), 1);
    QVERIFY(runTool(QStringLiteral("pdfinfo"), {pdf}).contains("595 x 842 pts (A4)"));

    const QStringList lines = layoutLines(pdf);
    QCOMPARE(lines,
             (QStringList{QStringLiteral("учень 5-А класу"), QStringLiteral("Петренко Олена"),
                          QStringLiteral("2 рівня ВІДМІННО")}));

    // Each line's top-left corner at its place, in printer pixels of 300 dpi.
    const QList<Word> words = wordsOf(pdf);
    const double px = 300.0 / 72.0;
    const struct {
        QString word;
        int x, y;
    } places[] = {{QStringLiteral("учень"), 1000, 1550},
                  {QStringLiteral("Петренко"), 1000, 1700},
                  {QStringLiteral("2"), 1000, 2200}};
    for (const auto &place : places) {
        const Word *w = findWord(words, place.word);
        QVERIFY2(w, qPrintable(place.word));
        QVERIFY2(qAbs(w->xMin * px - place.x) <= 3 && qAbs(w->yMin * px - place.y) <= 3,
                 qPrintable(QStringLiteral("%1 at %2,%3").arg(place.word).arg(w->xMin * px).arg(w->yMin * px)));
    }
    // 16 and 20 points tall on paper: the cells of the two sizes are in that ratio.
    const Word *small = findWord(words, QStringLiteral("учень"));
    const Word *large = findWord(words, QStringLiteral("Петренко"));
    QVERIFY(qAbs((large->yMax - large->yMin) / (small->yMax - small->yMin) - 20.0 / 16.0) < 0.02);
    QVERIFY(qAbs((small->xMax - small->xMin) / 5 - 16 * 0.6) < 0.2); // monospace advance of 16 pt

    const QString fonts = QString::fromUtf8(runTool(QStringLiteral("pdffonts"), {pdf}));
    QVERIFY2(QRegularExpression(QStringLiteral("NimbusMonoPS-Bold\\s.*\\syes\\s")).match(fonts).hasMatch(),
             qPrintable(fonts));
    QVERIFY2(!fonts.contains(QLatin1String("DejaVu")), qPrintable(fonts));
}

void CertificatePrintTest::keepsPicturePixelsExact()
{
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    const QImage page = renderPage(outputOf(QStringLiteral("Cert300")), 300);
    QVERIFY(!page.isNull());
    const QPoint at(400, 300);
    for (const QPoint p :
         {QPoint(0, 0), QPoint(PictureWidth - 1, 0), QPoint(0, PictureHeight - 1), QPoint(PictureWidth - 1, 1200),
          QPoint(17, 23), QPoint(18, 23), QPoint(16, 23), QPoint(17, 22), QPoint(450, 600)}) {
        const QRgb expected = pictureColour(p.x(), p.y());
        const QRgb seen = page.pixel(at + p);
        QVERIFY2(seen == (expected | 0xFF000000u),
                 qPrintable(QStringLiteral("picture pixel %1,%2: %3, expected %4")
                                .arg(p.x())
                                .arg(p.y())
                                .arg(pixelText(seen), pixelText(expected))));
    }
    for (const QPoint outside :
         {QPoint(399, 300), QPoint(400, 299), QPoint(400 + PictureWidth, 300), QPoint(400, 300 + PictureHeight)})
        QCOMPARE(pixelText(page.pixel(outside)), pixelText(qRgb(255, 255, 255)));
    const QString images = QString::fromUtf8(
        runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), outputOf(QStringLiteral("Cert300"))}));
    QVERIFY2(!images.contains(QLatin1String("jpeg")), qPrintable(images));
}

void CertificatePrintTest::coversThePictureWithWhiteTextCells()
{
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    const QImage page = renderPage(outputOf(QStringLiteral("Cert300")), 300);
    QVERIFY(!page.isNull());
    // The class line's cell starts at 1000,1550 and overlaps the picture's
    // lower right part (up to 1299,1599). Inside it nothing of the blue field
    // shows: only white, and black or grey where the glyphs are.
    int dark = 0;
    for (int y = 1551; y < 300 + PictureHeight; ++y) {
        for (int x = 1001; x < 400 + PictureWidth; ++x) {
            const QRgb c = page.pixel(x, y);
            QVERIFY2(qAbs(qRed(c) - qBlue(c)) < 40,
                     qPrintable(QStringLiteral("%1,%2 is %3").arg(x).arg(y).arg(pixelText(c))));
            dark += qRed(c) < 64 ? 1 : 0;
        }
    }
    QVERIFY(dark > 100); // the text itself is there, in black
    // Between "учень" and the class, in the space's cell, the page is white;
    // just above the cell and left of it the picture shows.
    QCOMPARE(pixelText(page.pixel(1220, 1560)), pixelText(qRgb(255, 255, 255)));
    QCOMPARE(pixelText(page.pixel(1220, 1545)), pixelText(Field));
    QCOMPARE(pixelText(page.pixel(995, 1560)), pixelText(Field));
}

void CertificatePrintTest::followsThePrintersResolutionAndPaper_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<int>("statedDpi");
    QTest::addColumn<QString>("queuePaper");
    QTest::addColumn<QString>("userOptions"); // set with lpoptions, as a teacher would
    QTest::addColumn<int>("expectedDpi");
    QTest::addColumn<QString>("paper");
    QTest::newRow("600 dpi, Letter") << "Cert600" << 600 << "Letter"
                                     << "" << 600 << "Letter";
    QTest::newRow("150 dpi, A4") << "Cert150" << 150 << "A4"
                                 << "" << 150 << "A4";
    QTest::newRow("no resolution stated") << "NoRes" << 0 << "A4"
                                          << "" << 300 << "A4";
    QTest::newRow("user's A4 on a Letter queue") << "UserA4" << 300 << "Letter"
                                                 << "media=A4" << 300 << "A4";
    QTest::newRow("user's 300 dpi on a 600-dpi queue") << "User300" << 600 << "A4"
                                                       << "Resolution=300dpi" << 300 << "A4";
    QTest::newRow("user's PageSize and 300x300dpi") << "UserLetter" << 600 << "A4"
                                                    << "PageSize=Letter Resolution=300x300dpi" << 300 << "Letter";
}

void CertificatePrintTest::followsThePrintersResolutionAndPaper()
{
    QFETCH(QString, queue);
    QFETCH(int, statedDpi);
    QFETCH(QString, queuePaper);
    QFETCH(QString, userOptions);
    QFETCH(int, expectedDpi);
    QFETCH(QString, paper);
    QVERIFY(addQueue(queue, statedDpi, queuePaper));
    // lpoptions also writes down the default of the moment as the user's own.
    QVERIFY(m_cups->setDefault(queue));
    for (const QString &option : userOptions.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        QVERIFY2(m_cups->run(QStringLiteral("lpoptions"), {QStringLiteral("-p"), queue, QStringLiteral("-o"), option}),
                 qPrintable(m_cups->error()));
    QCOMPARE(printOn(queue), QString());
    const QString pdf = outputOf(queue);
    const QByteArray size = paper == QLatin1String("Letter") ? "612 x 792 pts" : "595 x 842 pts";
    const QByteArray info = runTool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(size), info.constData());

    const double px = expectedDpi / 72.0;
    const QList<Word> words = wordsOf(pdf);
    const Word *name = findWord(words, QStringLiteral("Петренко"));
    QVERIFY(name);
    QVERIFY2(qAbs(name->xMin * px - 1000) <= 3 && qAbs(name->yMin * px - 1700) <= 3,
             qPrintable(QStringLiteral("at %1,%2").arg(name->xMin * px).arg(name->yMin * px)));
    // Points stay points: the name is 20 points on paper at any resolution
    // where it fits before the picture's frame; at 600 dpi it is 14 and ends
    // before the frame. (At 150 dpi the frame lies beyond the page.)
    const double points = expectedDpi == 600 ? 14 : 20;
    QVERIFY(qAbs((name->xMax - name->xMin) / 8 - points * 0.6) < 0.2);
    const Word *end = findWord(words, QStringLiteral("Олена"));
    QVERIFY(expectedDpi < 300 || (end && end->xMax * px < 2020));

    const QImage page = renderPage(pdf, expectedDpi);
    QCOMPARE(pixelText(page.pixel(400, 300)), pixelText(pictureColour(0, 0)));
    QCOMPARE(pixelText(page.pixel(417, 323)), pixelText(pictureColour(17, 23)));
    QCOMPARE(pixelText(page.pixel(399, 300)), pixelText(qRgb(255, 255, 255)));
}

void CertificatePrintTest::printsClassAndNameExactlyAsTyped()
{
    QCOMPARE(printOn(QStringLiteral("Cert300"), 3, 18, QStringLiteral("  7-В "), QStringLiteral(" Іван  Ґудзь")),
             QString());
    const QList<Word> words = wordsOf(outputOf(QStringLiteral("Cert300")));
    const double px = 300.0 / 72.0;
    const double advance = 16 * 0.6 * px; // one character of the 16-point line
    const double advance20 = 20 * 0.6 * px;
    const struct {
        QString word;
        double x;
    } places[] = {{QStringLiteral("7-В"), 1000 + 8 * advance},    // "учень" + 3 spaces
                  {QStringLiteral("класу"), 1000 + 13 * advance}, // "7-В" + 2 spaces
                  {QStringLiteral("Іван"), 1000 + advance20},
                  {QStringLiteral("Ґудзь"), 1000 + 7 * advance20},
                  {QStringLiteral("ДОБРЕ"), 1000 + 8 * advance20}}; // "3 рівня "
    for (const auto &place : places) {
        const Word *w = findWord(words, place.word);
        QVERIFY2(w, qPrintable(place.word));
        QVERIFY2(qAbs(w->xMin * px - place.x) <= 3,
                 qPrintable(QStringLiteral("%1 at %2, expected %3").arg(place.word).arg(w->xMin * px).arg(place.x)));
    }
}

void CertificatePrintTest::printsOnePagePerPress()
{
    const QString pdf = outputOf(QStringLiteral("Cert300"));
    const int before = int(m_cups->jobs(QStringLiteral("Cert300")).size());
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    const QStringList first = layoutLines(pdf);
    QCOMPARE(pageCount(pdf), 1);
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    QCOMPARE(pageCount(pdf), 1);
    QCOMPARE(layoutLines(pdf), first);
    const QList<PrivateCupsJob> jobs = m_cups->jobs(QStringLiteral("Cert300"));
    QCOMPARE(int(jobs.size()), before + 2);
    QCOMPARE(jobs[before].state, int(IPP_JSTATE_COMPLETED));
    QCOMPARE(jobs[before + 1].state, int(IPP_JSTATE_COMPLETED));
    QVERIFY(jobs[before].id != jobs[before + 1].id);
}

void CertificatePrintTest::printsWithoutPictureWhenTheFileIsEmpty()
{
    writePicture(QByteArray());
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    const QString pdf = outputOf(QStringLiteral("Cert300"));
    QCOMPARE(layoutLines(pdf).size(), 3);
    const QImage page = renderPage(pdf, 300);
    QCOMPARE(pixelText(page.pixel(400, 300)), pixelText(qRgb(255, 255, 255)));
    QCOMPARE(pixelText(page.pixel(850, 950)), pixelText(qRgb(255, 255, 255)));
    const QString images = QString::fromUtf8(runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}));
    QCOMPARE(images.count(QLatin1String("image")), 0);
}

void CertificatePrintTest::printsNothingWithoutAGoodResult()
{
    // No certificate means no printer is even looked for.
    forgetDefault();
    const int before = lastJobId();
    for (const auto &[level, correct] : {std::pair{1, 13}, {2, 0}, {0, 24}, {3, 25}})
        QCOMPARE(printNow(level, correct), QString());
    QCOMPARE(jobsSince(before), 0);
    // The picture is read first, so its failure comes even then.
    QVERIFY(QFile::remove(m_work.filePath(QStringLiteral("Media/s.bmp"))));
    QVERIFY(printNow(1, 13).startsWith(QLatin1String("Cannot open file")));
}

void CertificatePrintTest::printsRunLengthPictures_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("indices"); // top row first
    QTest::newRow("8 bits") << 8 << QByteArray::fromHex("0401 0000 0003 020304 00 0201 0001") << "2341|1111";
    QTest::newRow("4 bits") << 4 << QByteArray::fromHex("0412 0000 0003 3450 0001") << "3450|1212";
}

// Decoded run-length pictures are printed pixel for pixel.
void CertificatePrintTest::printsRunLengthPictures()
{
    QFETCH(int, bits);
    QFETCH(QByteArray, codes);
    QFETCH(QString, indices);
    QVector<QRgb> palette;
    for (int i = 0; i < (1 << bits); ++i)
        palette.append(qRgb(40 * (i % 7), 250 - 30 * (i % 8), 20 * i % 256));
    const QStringList rows = indices.split(QLatin1Char('|'));
    writePicture(writeRleBmp(bits, 4, rows.size(), palette, codes));
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    const QImage page = renderPage(outputOf(QStringLiteral("Cert300")), 300);
    QVERIFY(!page.isNull());
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(pixelText(page.pixel(400 + x, 300 + y)), pixelText(palette[rows[y].mid(x, 1).toInt(nullptr, 16)]));
}

void CertificatePrintTest::refusesBadPictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("removeFolder");
    QTest::addColumn<QString>("expected");
    const QString missing = QStringLiteral("Cannot open file \"%1\". %2");
    QTest::newRow("no file") << QByteArray() << false
                             << missing.arg(m_work.filePath(QStringLiteral("Media/s.bmp")),
                                            QString::fromLocal8Bit(strerror(ENOENT)));
    QTest::newRow("no folder") << QByteArray() << true
                               << missing.arg(m_work.filePath(QStringLiteral("media/s.bmp")),
                                              QString::fromLocal8Bit(strerror(ENOENT)));
    QTest::newRow("5 bytes") << QByteArray("BM123") << false << QStringLiteral("Stream read error");
    QTest::newRow("not a bitmap") << QByteArray("GIF89a, and more bytes") << false
                                  << QStringLiteral("Bitmap image is not valid");
    QByteArray lying = writeBmp24(2, 2, [](int, int) { return qRgb(1, 2, 3); });
    for (int offset : {18, 22}) {
        const quint32 v = 100000;
        for (int i = 0; i < 4; ++i)
            lying[offset + i] = char((v >> (8 * i)) & 0xFF);
    }
    QTest::newRow("100000 x 100000") << lying << false << QStringLiteral("Bitmap image is not valid");
}

void CertificatePrintTest::refusesBadPictures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, removeFolder);
    QFETCH(QString, expected);
    if (removeFolder)
        QVERIFY(QDir(m_work.filePath(QStringLiteral("Media"))).removeRecursively());
    else if (bytes.isEmpty())
        QVERIFY(QFile::remove(m_work.filePath(QStringLiteral("Media/s.bmp"))));
    else
        writePicture(bytes);
    const int before = lastJobId();
    QCOMPARE(printOn(QStringLiteral("Cert300")), expected);
    QCOMPARE(jobsSince(before), 0);
}

void CertificatePrintTest::reportsMissingDefaultPrinter()
{
    forgetDefault();
    const int before = lastJobId();
    QCOMPARE(printNow(1, 20), NoDefault);
    QCOMPARE(jobsSince(before), 0);
    // The default chosen again between two presses is found at once.
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    QCOMPARE(jobsSince(before), 1);
}

void CertificatePrintTest::reportsQueueThatRejectsJobs()
{
    QVERIFY(m_cups->setDefault(QStringLiteral("Cert300")));
    QVERIFY(m_cups->rejectJobs(QStringLiteral("Cert300")));
    const int before = lastJobId();
    const QString failure = printOn(QStringLiteral("Cert300"));
    QVERIFY(m_cups->acceptJobs(QStringLiteral("Cert300")));
    QCOMPARE(failure, NotValid);
    QCOMPARE(jobsSince(before), 0);
    QCOMPARE(printOn(QStringLiteral("Cert300")), QString());
    QCOMPARE(jobsSince(before), 1);
}

void CertificatePrintTest::reportsDefaultThatNoLongerExists()
{
    // The user's own default (lpoptions) goes before the scheduler's...
    const QString removed = QStringLiteral("Removed");
    QVERIFY(addQueue(removed, 300));
    QVERIFY(m_cups->setDefault(QStringLiteral("Cert300")));
    QVERIFY(m_cups->setUserDefault(removed));
    QCOMPARE(printNow(), QString());
    QVERIFY(m_cups->waitForJobs());
    QCOMPARE(m_cups->jobs(removed).size(), 1);

    // ...and once its queue is deleted, it is a printer that is not valid.
    QVERIFY(m_cups->deleteQueue(removed));
    const int before = lastJobId();
    QCOMPARE(printNow(), NotValid);
    // The same through the PRINTER variable.
    QVERIFY(m_cups->setUserDefault(QString()));
    qputenv("PRINTER", removed.toUtf8());
    QCOMPARE(printNow(), NotValid);
    qunsetenv("PRINTER");

    // Deleting the scheduler's default makes the scheduler forget it: no default then.
    QVERIFY(addQueue(removed, 300));
    QVERIFY(m_cups->setDefault(removed));
    QVERIFY(m_cups->deleteQueue(removed));
    QCOMPARE(printNow(), NoDefault);
    QCOMPARE(jobsSince(before), 0);
}

void CertificatePrintTest::keepsJobOnStoppedQueue()
{
    const QString queue = QStringLiteral("Paused");
    QVERIFY(addQueue(queue, 300));
    QVERIFY(m_cups->setDefault(queue));
    QVERIFY(m_cups->stop(queue));
    const QString failure = printNow(1, 24);
    const QList<PrivateCupsJob> held = m_cups->jobs(queue);
    const bool written = QFile::exists(outputOf(queue));
    QVERIFY(m_cups->start(queue));
    QCOMPARE(failure, QString());
    QCOMPARE(held.size(), 1);
    QCOMPARE(held[0].state, int(IPP_JSTATE_PENDING));
    QVERIFY(!written);
    // Started again, the queue prints the job it kept.
    QVERIFY(m_cups->waitForJobs(queue));
    QCOMPARE(m_cups->jobs(queue)[0].state, int(IPP_JSTATE_COMPLETED));
    QVERIFY(layoutLines(outputOf(queue)).contains(QStringLiteral("1 рівня ВІДМІННО")));
}

static QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void CertificatePrintTest::keepsThePageFileToItself_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("failure"); // how the failure's text begins
    QTest::newRow("printed") << "writable"
                             << "";
    QTest::newRow("missing folder") << "missing"
                                    << "Cannot create file \"";
    // A file size limit stands in for a full disk: the writes fail half-way.
    QTest::newRow("full disk") << "full"
                               << "Cannot write file \"";
}

void CertificatePrintTest::keepsThePageFileToItself()
{
    QFETCH(QString, folder);
    QFETCH(QString, failure);
    QTemporaryDir tmp;
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR",
            QFile::encodeName(folder == QLatin1String("missing") ? tmp.filePath(QStringLiteral("gone")) : tmp.path()));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (folder == QLatin1String("full")) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    const int before = lastJobId();
    const QString text = printOn(QStringLiteral("Cert300"));
    setrlimit(RLIMIT_FSIZE, &saved);
    qputenv("TMPDIR", savedTmp);
    QVERIFY2(failure.isEmpty() ? text.isEmpty() : text.startsWith(failure), qPrintable(text));
    QCOMPARE(jobsSince(before), failure.isEmpty() ? 1 : 0);
    QCOMPARE(entriesOf(tmp.path()), QStringList());
}

void CertificatePrintTest::leavesNoFileWhenTerminated()
{
    // The sample printer program, ended by SIGTERM while it writes a page
    // with a large picture.
    QTemporaryDir tmp;
    const QString picture = m_work.filePath(QStringLiteral("large.bmp"));
    QVERIFY(writeBytes(picture, writeBmp24(4096, 4096, [](int x, int y) { return qRgb(x * y, x ^ y, x + 3 * y); })));
    QProcess sample;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), tmp.path());
    QTemporaryDir runtime; // Qt's own folder would otherwise be made in TMPDIR
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    sample.setProcessEnvironment(environment);
    const QString out = m_out.filePath(QStringLiteral("terminated.pdf"));
    sample.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zorelad_certificate_sample"),
                 {out, picture});
    QVERIFY(sample.waitForStarted());
    bool writing = false;
    QElapsedTimer clock;
    clock.start();
    while (!writing && clock.elapsed() < 60000 && sample.state() == QProcess::Running) {
        QDirIterator it(tmp.path(), {QStringLiteral("certificate.pdf")}, QDir::Files, QDirIterator::Subdirectories);
        writing = it.hasNext() && QFileInfo(it.next()).size() > 0;
        QThread::msleep(5);
    }
    QVERIFY(writing);
    ::kill(pid_t(sample.processId()), SIGTERM);
    QVERIFY(sample.waitForFinished(30000));
    QCOMPARE(sample.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFile::exists(out)); // stopped half-way: no page came out
    QCOMPARE(entriesOf(tmp.path()), QStringList());
}

QTEST_MAIN(CertificatePrintTest)
#include "tst_certificateprint.moc"
