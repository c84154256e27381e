// The shipped question bank, the teachers' checker that guards it and the
// commands that move it to and from one text.

#include "fonts.h"
#include "questionfit.h"
#include "questioncheck.h"
#include "questionfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <sys/stat.h>

using namespace zorelad;

class QuestionBankTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void shippedBankIsSound();
    void shippedBankFitsTheScreen();
    void textFit_data();
    void textFit();
    void checkerMistakes_data();
    void checkerMistakes();
    void checkerCommand();
    void exportImportRoundTrip();
    void importRefusesAndChangesNothing();
    void commands_data();
    void commands();
    void helpInUkrainian_data();
    void helpInUkrainian();

private:
    QString program() const { return qEnvironmentVariable("ZORELAD_PROGRAM_DIR"); }
    QString bank() const { return program() + QStringLiteral("/Text"); }
    QString copyOfBank(const QString &name);
    void compareLevels(const QString &copy, QList<int> levels);
    QByteArray run(const QString &tool, const QStringList &args, int *status, const QByteArray &lang = "C.UTF-8",
                   QByteArray *err = nullptr);
    QTemporaryDir scratch;
};

void QuestionBankTest::initTestCase()
{
    installFontSubstitutions();
    // Pupils must be able to enter the copies' folders.
    QFile::setPermissions(scratch.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                              | QFile::ReadGroup | QFile::ExeGroup);
}

void QuestionBankTest::shippedBankIsSound()
{
    for (int level = 1; level <= 3; ++level) {
        int answers[4] = {};
        for (int n = 1; n <= QuestionsPerLevel; ++n) {
            const QStringList lines = readQuestionFile(bank() + QStringLiteral("/%1/%2.z").arg(level).arg(n));
            QCOMPARE(lines.size(), 5);
            ++answers[questionFromLines(lines).rightOption()];
        }
        // The right answers are spread over the three options.
        for (int k = 1; k <= 3; ++k)
            QVERIFY2(answers[k] >= 6 && answers[k] <= 10, qPrintable(QStringLiteral("level %1").arg(level)));
    }
}

// The checker also names folders above the bank that pupils cannot enter
// (a private home), so it is given a copy in a folder they may enter.
void QuestionBankTest::shippedBankFitsTheScreen()
{
    QCOMPARE(checkQuestionFolder(copyOfBank(QStringLiteral("shipped"))), QStringList());
}

void QuestionBankTest::textFit_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<bool>("tall");
    // Drawn letter by letter, an option is cut off from the first pixel the
    // measure gives as too wide; these lie on either side of that edge.
    QTest::newRow("option shown in full") << true << QStringLiteral("Юпітер — найбільша планета") << false << false;
    QTest::newRow("option one letter too long")
        << true << QStringLiteral("Юпітер — найбільша планета с") << true << false;
    QTest::newRow("option of capitals") << true << QString(16, QChar(0x0428)) << true << false;
    QTest::newRow("question of many lines")
        << false << QStringLiteral("Яка зоря найближча? ").repeated(12) << false << true;
    QTest::newRow("question with a long word")
        << false << QStringLiteral("Що таке ") + QString(60, QChar(0x0448)) << true << false;
}

void QuestionBankTest::textFit()
{
    QFETCH(bool, option);
    QFETCH(QString, text);
    QFETCH(bool, wide);
    QFETCH(bool, tall);
    const TextFit fit = option ? optionFit(text) : questionFit(text);
    QCOMPARE(fit.tooWide > 0, wide);
    QCOMPARE(fit.tooTall > 0, tall);
}

QString QuestionBankTest::copyOfBank(const QString &name)
{
    const QString copy = scratch.filePath(name);
    for (int level = 1; level <= 3; ++level) {
        QDir().mkpath(copy + QStringLiteral("/%1").arg(level));
        for (int n = 1; n <= QuestionsPerLevel; ++n) {
            const QString rel = QStringLiteral("/%1/%2.z").arg(level).arg(n);
            QFile::copy(bank() + rel, copy + rel);
        }
    }
    return copy;
}

enum Setup { Write, Pipe, Mode000, Mode640, Folder0700, ParentFolder, SameAs8 };

void QuestionBankTest::checkerMistakes_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QByteArray>("bytes"); // windows-1251 unless said
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("ukrainian");
    const auto cp = [](const char *utf8) { return QString::fromUtf8(utf8); };
    const QByteArray utf8 = QByteArray("Питання\r\nа\r\nб\r\nв\r\n1\r\n");
    QTest::newRow("empty question") << int(Write) << QByteArray("\r\na\r\nb\r\nc\r\n1\r\n")
                                    << "2/7.z: line 1: the question is empty"
                                    << cp("2/7.z: рядок 1: запитання порожнє");
    QTest::newRow("empty right option") << int(Write) << QByteArray("q\r\na\r\n\r\nc\r\n2\r\n")
                                        << "line 3: option 2 is empty" << cp("рядок 3: варіант 2 порожній");
    QTest::newRow("empty line after the question") << int(Write) << QByteArray("q\r\n\r\na\r\nb\r\nc\r\n")
                                                   << "line 2: option 1 is empty" << cp("рядок 2: варіант 1 порожній");
    QTest::newRow("three alike") << int(Write) << QByteArray("q\r\nx\r\nx\r\nx\r\n1\r\n")
                                 << "line 3: option 2 is the same as option 1"
                                 << cp("рядок 3: варіант 2 такий самий, як варіант 1");
    QTest::newRow("answer 2.") << int(Write) << QByteArray("q\r\na\r\nb\r\nc\r\n2.\r\n")
                               << "line 5: the answer is \"2.\"" << cp("рядок 5: відповідь «2.»");
    QTest::newRow("too wide") << int(Write) << QByteArray("q\r\n" + QByteArray(30, '\xd8') + "\r\nb\r\nc\r\n3\r\n")
                              << "characters too long and would be cut off" << cp("символів, і його буде обрізано");
    QTest::newRow("one line") << int(Write) << QByteArray("q\r\n") << "has 1 line;" << cp("має 1 рядок;");
    QTest::newRow("three lines") << int(Write) << QByteArray("q\r\na\r\nb\r\n") << "has 3 lines;" << cp("має 3 рядки;");
    QTest::newRow("control byte") << int(Write) << QByteArray("q\x01\r\na\r\nb\r\nc\r\n1\r\n")
                                  << "control character (U+0001)" << cp("керівний символ (U+0001)");
    QTest::newRow("UTF-8") << int(Write) << utf8 << "saved as UTF-8, not windows-1251; to convert it: zorelad-export"
                           << cp("збережено в UTF-8, а не у windows-1251; щоб перетворити: zorelad-export");
    QTest::newRow("BOM") << int(Write) << "\xEF\xBB\xBF" + utf8 << "UTF-8 with a byte order mark"
                         << cp("міткою порядку байтів");
    QTest::newRow("UTF-16") << int(Write)
                            << QByteArray(QStringEncoder(QStringEncoder::Utf16).encode(cp(utf8.constData())))
                            << "saved as UTF-16" << cp("збережено в UTF-16");
    QTest::newRow("KOI8-U") << int(Write)
                            << QByteArray(QStringEncoder("KOI8-U").encode(
                                   cp("Котра планета найбільша?\r\nЮпітер\r\nЗемля\r\nМарс\r\n1\r\n")))
                            << "saved as KOI8-U" << cp("збережено в KOI8-U");
    QTest::newRow("pipe") << int(Pipe) << QByteArray() << "is a named pipe, not a file"
                          << cp("це іменований канал, а не файл");
    QTest::newRow("mode 000") << int(Mode000) << QByteArray()
                              << "pupils cannot read this file (mode 0000); to allow it: sudo chmod o+r"
                              << cp("учні не можуть прочитати цей файл (права 0000)");
    QTest::newRow("mode 640") << int(Mode640) << QByteArray() << "pupils cannot read this file (mode 0640)"
                              << cp("учні не можуть прочитати цей файл (права 0640)");
    QTest::newRow("same as 8.z") << int(SameAs8) << QByteArray() << "the same question as in"
                                 << cp("те саме запитання, що й у");
    QTest::newRow("folder 0700") << int(Folder0700) << QByteArray() << "pupils cannot enter this folder (mode 0700)"
                                 << cp("учні не можуть увійти до цієї теки (права 0700)");
    QTest::newRow("program folder") << int(ParentFolder) << QByteArray()
                                    << "is not a question folder, but it holds one; check that: zorelad-check"
                                    << cp("не тека із запитаннями, але вона її містить");
}

void QuestionBankTest::checkerMistakes()
{
    QFETCH(int, setup);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, english);
    QFETCH(QString, ukrainian);
    const QString copy = copyOfBank(QStringLiteral("mistake-%1").arg(QTest::currentDataTag()));
    const QString file = copy + QStringLiteral("/2/7.z");
    QString folder = copy;
    if (setup == Write) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
    } else if (setup == Pipe) {
        QFile::remove(file);
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    } else if (setup == Mode000 || setup == Mode640) {
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), setup == Mode000 ? 0 : 0640), 0);
    } else if (setup == SameAs8) {
        QFile::remove(file);
        QVERIFY(QFile::copy(copy + QStringLiteral("/2/8.z"), file));
    } else if (setup == Folder0700) {
        QCOMPARE(::chmod(QFile::encodeName(copy + QStringLiteral("/2")).constData(), 0700), 0);
    } else {
        folder = scratch.filePath(QStringLiteral("program-folder"));
        QVERIFY(QDir().mkpath(folder) && QDir().rename(copy, folder + QStringLiteral("/Text")));
    }
    for (const QString &lang : {QStringLiteral("en"), QStringLiteral("uk")}) {
        QTranslator translator;
        QVERIFY(translator.load(program() + QStringLiteral("/translations/zorelad-bank_") + lang));
        QCoreApplication::installTranslator(&translator);
        const QStringList report = checkQuestionFolder(folder);
        QCoreApplication::removeTranslator(&translator);
        // The mistake is named first, in the language asked for, and
        // nothing else is blamed.
        QVERIFY2(!report.isEmpty() && report[0].contains(lang == QLatin1String("en") ? english : ukrainian),
                 qPrintable(report.join(QLatin1Char('\n'))));
        for (const QString &line : report)
            QVERIFY2(line.contains(QLatin1String("/2/7.z")) || line.contains(QLatin1String("/2: "))
                         || setup == ParentFolder,
                     qPrintable(line));
    }
}

QByteArray QuestionBankTest::run(const QString &tool, const QStringList &args, int *status, const QByteArray &lang,
                                 QByteArray *err)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(program() + QLatin1Char('/') + tool, args);
    process.waitForFinished(60000);
    *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (err)
        *err = process.readAllStandardError();
    return process.readAllStandardOutput();
}

void QuestionBankTest::checkerCommand()
{
    int status = 0;
    const QString copy = copyOfBank(QStringLiteral("command"));
    QVERIFY(run(QStringLiteral("zorelad-check"), {copy}, &status).contains("All 72 question files are fine."));
    QCOMPARE(status, 0);
    QVERIFY(run(QStringLiteral("zorelad-check"), {QStringLiteral("--help")}, &status)
                .startsWith("Usage: zorelad-check DIR"));
    QCOMPARE(status, 0);
    QFile out(copy + QStringLiteral("/3/9.z"));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write("q\r\na\r\nb\r\nc\r\n 2\r\n");
    out.close();
    const QString said = QString::fromUtf8(run(QStringLiteral("zorelad-check"), {copy}, &status, "uk_UA.UTF-8"));
    QCOMPARE(status, 1);
    QVERIFY2(said.contains(QStringLiteral("3/9.z: рядок 5: відповідь « 2»"))
                 && said.endsWith(QStringLiteral("Знайдено 1 проблему.\n")),
             qPrintable(said));
}

void QuestionBankTest::exportImportRoundTrip()
{
    int status = 0;
    const QString text = scratch.filePath(QStringLiteral("bank.txt"));
    run(QStringLiteral("zorelad-export"), {bank(), text}, &status);
    QCOMPARE(status, 0);
    const QString target = scratch.filePath(QStringLiteral("imported"));
    run(QStringLiteral("zorelad-import"), {text, target}, &status);
    QCOMPARE(status, 0);
    compareLevels(target, {1, 2, 3});
}

// The question files of `levels` below `copy` are byte for byte the shipped ones.
void QuestionBankTest::compareLevels(const QString &copy, QList<int> levels)
{
    for (int level : levels) {
        for (int n = 1; n <= QuestionsPerLevel; ++n) {
            QFile a(bank() + QStringLiteral("/%1/%2.z").arg(level).arg(n)),
                b(copy + QStringLiteral("/%1/%2.z").arg(level).arg(n));
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QCOMPARE(b.readAll(), a.readAll());
        }
    }
}

void QuestionBankTest::importRefusesAndChangesNothing()
{
    int status = 0;
    QStringList lines =
        QString::fromUtf8(run(QStringLiteral("zorelad-export"), {bank() + QStringLiteral("/2")}, &status))
            .split(QLatin1Char('\n'));
    QCOMPARE(status, 0);
    const int first = int(lines.indexOf(QStringLiteral("[Рівень 2]"))) + 2; // index of question 1's line
    lines[first + 1] = QStringLiteral("пʼять");                             // mapped, a note
    lines[first + 6 + 2] = QStringLiteral("5 км²");                         // refused
    lines[first + 12 + 3] = QString();                                      // an empty option
    lines[first + 18 + 4] = QStringLiteral("2.");                           // not an answer
    lines.erase(lines.begin() + first + 24, lines.begin() + first + 30);    // question 5 gone: 23
    const QString text = scratch.filePath(QStringLiteral("broken.txt"));
    QFile out(text);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8());
    out.close();
    const QString copy = copyOfBank(QStringLiteral("import"));
    QByteArray err;
    run(QStringLiteral("zorelad-import"), {text, copy}, &status, "C.UTF-8", &err);
    QCOMPARE(status, 1);
    for (int line : {first - 1, first + 2, first + 6 + 3, first + 12 + 4, first + 18 + 5})
        QVERIFY2(err.contains(QStringLiteral("broken.txt:%1: ").arg(line).toUtf8()), err.constData());
    QVERIFY2(err.contains("no question file was changed"), err.constData());
    compareLevels(copy, {2});
}

void QuestionBankTest::commands_data()
{
    // %bank: the shipped Text folder; %copy: a copy of it; %wide: level 2
    // with an option too wide for its button.
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("output"); // standard output goes there
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("export to a full device") << "zorelad-export" << QStringList{"%bank", "/dev/full"} << QString() << 1
                                             << "\"/dev/full\": No space left on device";
    QTest::newRow("export to a full standard output")
        << "zorelad-export" << QStringList{"%bank"} << "/dev/full" << 1 << "standard output: No space left on device";
    QTest::newRow("import into a level's folder") << "zorelad-import" << QStringList{"%level2", "%copy/2"} << QString()
                                                  << 0 << "Wrote 24 question files below %copy.";
    QTest::newRow("import of a text too wide")
        << "zorelad-import" << QStringList{"%wide", "%copy"} << QString() << 1 << "too long and would be cut off";
    QTest::newRow("import of endless zeros")
        << "zorelad-import" << QStringList{"/dev/zero", "%copy"} << QString() << 1 << "more than 4 MB";
}

void QuestionBankTest::commands()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, args);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QString, said);
    const QString copy = copyOfBank(QStringLiteral("commands-%1").arg(QTest::currentDataTag()));
    int exported = 0;
    QByteArray level2 = run(QStringLiteral("zorelad-export"), {bank() + QStringLiteral("/2")}, &exported);
    QCOMPARE(exported, 0);
    QStringList wide = QString::fromUtf8(level2).split(QLatin1Char('\n'));
    wide[wide.indexOf(QStringLiteral("[Рівень 2]")) + 3] = QStringLiteral("Найбільша планета Сонячної системи");
    for (const auto &[name, bytes] : {std::pair{QStringLiteral("level2.txt"), level2},
                                      std::pair{QStringLiteral("wide.txt"), wide.join(QLatin1Char('\n')).toUtf8()}}) {
        QFile file(scratch.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    for (QString &arg : args)
        arg.replace(QLatin1String("%bank"), bank())
            .replace(QLatin1String("%copy"), copy)
            .replace(QLatin1String("%level2"), scratch.filePath(QStringLiteral("level2.txt")))
            .replace(QLatin1String("%wide"), scratch.filePath(QStringLiteral("wide.txt")));
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program() + QLatin1Char('/') + tool, args);
    QVERIFY(process.waitForFinished(60000));
    const QString all = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    QCOMPARE(process.exitCode(), status);
    QVERIFY2(all.contains(QString(said).replace(QLatin1String("%copy"), copy)), qPrintable(all));
    // Nothing but what was asked for changed: the copy is the shipped bank.
    compareLevels(copy, {1, 2, 3});
    QVERIFY(!QFileInfo::exists(copy + QStringLiteral("/2/2")));
    QVERIFY(QFileInfo(QStringLiteral("/dev/full")).exists() && !QFileInfo(QStringLiteral("/dev/full")).isFile());
}

void QuestionBankTest::helpInUkrainian_data()
{
    QTest::addColumn<QString>("tool");
    for (const char *tool : {"zorelad-check", "zorelad-export", "zorelad-import", "zorelad-editor", "zorelad-journal"})
        QTest::newRow(tool) << QString::fromLatin1(tool);
}

void QuestionBankTest::helpInUkrainian()
{
    QFETCH(QString, tool);
    int status = 0;
    QString said = QString::fromUtf8(run(tool, {QStringLiteral("--help")}, &status, "uk_UA.UTF-8"));
    QCOMPARE(status, 0);
    // Names of commands, options, files and encodings stay as they are.
    said.remove(QRegularExpression(QStringLiteral("zorelad-\\w+|--?[\\w-]+|/\\S*|\\*\\.\\w+|\\bText\\b|UTF-\\d+|"
                                                  "windows-1251|\\bsudo\\b|\\b(text|csv|html)\\b|\\d/\\d+\\.z")));
    const auto english = QRegularExpression(QStringLiteral("[A-Za-z]{2,}")).match(said);
    QVERIFY2(!english.hasMatch(), qPrintable(said));
}

QTEST_MAIN(QuestionBankTest)
#include "tst_questionbank.moc"
