// The question editor on real question folders: opening, saving through the
// bank's safe write, refusals, moves, and its preview against the quiz.

#include "banktext.h"
#include "questionfolder.h"
#include "questionrules.h"
#include "editorwindow.h"
#include "fonts.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "questionfit.h"
#include "questionpreview.h"

#include <QAction>
#include <QComboBox>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QToolButton>
#include <QTranslator>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProcess>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <unistd.h>

using namespace zorelad;

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void init();
    void cleanup();
    void opensTheShippedBank();
    void opensAndSavesABankText();
    void savesAnEditedQuestion();
    void unsoundQuestionBlocksSaving();
    void readOnlyFolderChangesNothing();
    void swapAndMoveMoveTheFiles();
    void closingWithChangesAsks();
    void diskAndCopies_data();
    void diskAndCopies();
    void importsOfText_data();
    void importsOfText();
    void speaksUkrainian();
    void previewAgreesWithCheckerAndQuiz_data();
    void previewAgreesWithCheckerAndQuiz();

private:
    template <class T> T *find(const char *name) const
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QString file(int level, int number) const { return QStringLiteral("%1/%2/%3.z").arg(text).arg(level).arg(number); }
    QByteArray bytes(int level, int number) const;
    QMap<QString, QByteArray> snapshot() const;

    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<EditorWindow> window;
    QString text;
    ModalWatcher watcher;
};

void EditorTest::init()
{
    scratch = std::make_unique<QTemporaryDir>();
    text = scratch->filePath(QStringLiteral("Text"));
    // The shipped bank as the build made it.
    const QString shipped = qEnvironmentVariable("ZORELAD_PROGRAM_DIR") + QStringLiteral("/Text");
    for (int level = 1; level <= 3; ++level) {
        QDir().mkpath(text + QStringLiteral("/%1").arg(level));
        for (int n = 1; n <= QuestionsPerLevel; ++n)
            QVERIFY(QFile::copy(shipped + QStringLiteral("/%1/%2.z").arg(level).arg(n), file(level, n)));
    }
    window = std::make_unique<EditorWindow>();
    QVERIFY(window->openLocation(text));
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    watcher.clear();
}

void EditorTest::cleanup()
{
    window.reset();
    scratch.reset();
}

QByteArray EditorTest::bytes(int level, int number) const
{
    QFile f(file(level, number));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QMap<QString, QByteArray> EditorTest::snapshot() const
{
    QMap<QString, QByteArray> all;
    for (int level = 1; level <= 3; ++level) {
        for (int n = 1; n <= QuestionsPerLevel; ++n)
            all[file(level, n)] = bytes(level, n);
    }
    return all;
}

void EditorTest::opensTheShippedBank()
{
    auto *list = find<QTreeWidget>("QuestionList");
    QCOMPARE(list->topLevelItemCount(), 3);
    for (int level = 0; level < 3; ++level) {
        QCOMPARE(list->topLevelItem(level)->childCount(), QuestionsPerLevel);
        for (int n = 0; n < QuestionsPerLevel; ++n)
            QCOMPARE(list->topLevelItem(level)->child(n)->text(1), EditorWindow::tr("sound"));
    }
    QCOMPARE(find<QPlainTextEdit>("QuestionText")->toPlainText(), readQuestion(file(1, 1)).text);
    QVERIFY(!window->isWindowModified());
}

void EditorTest::opensAndSavesABankText()
{
    const QString path = scratch->filePath(QStringLiteral("bank.txt"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(window->bank().exportText());
    out.close();
    EditorWindow fromText;
    QVERIFY(fromText.openLocation(path));
    QCOMPARE(fromText.bank().kind(), EditorBank::Kind::Text);
    QCOMPARE(fromText.bank().question({3, 24}), readQuestion(file(3, 24)));
    Question changed = fromText.bank().question({2, 1});
    changed.answer = QString::number(changed.rightOption() % 3 + 1);
    fromText.bank().edit({2, 1}, changed, 5);
    QVERIFY(fromText.save());
    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const BankText read = parseBankText(in.readAll());
    QVERIFY(read.problems.isEmpty());
    QCOMPARE(read.questions.size(), 72);
    QCOMPARE(read.questions.at(QuestionsPerLevel).question, changed);
}

void EditorTest::savesAnEditedQuestion()
{
    window->setCurrent({2, 7});
    const Question before = readQuestion(file(2, 7));
    const int right = before.rightOption() % 3 + 1; // another option
    find<QPlainTextEdit>("QuestionText")->setPlainText(QStringLiteral("Яка планета найбільша — Юпітер чи Земля?"));
    find<QLineEdit>("Option1")->setText(QStringLiteral("Юпітер"));
    QTest::keyClick(window.get(), Qt::Key_0 + right, Qt::AltModifier);
    QTRY_VERIFY(find<QRadioButton>(qPrintable(QStringLiteral("Right%1").arg(right)))->isChecked());
    QVERIFY(window->isWindowModified());

    // Undo takes back the right option, redo brings it again.
    find<QAction>("Undo")->trigger();
    QCOMPARE(window->bank().question({2, 7}).rightOption(), before.rightOption());
    find<QAction>("Redo")->trigger();
    QCOMPARE(window->bank().question({2, 7}).rightOption(), right);

    QVERIFY(window->save());
    const QByteArray onDisk = bytes(2, 7);
    QCOMPARE(onDisk, encodeQuestionFile(window->bank().question({2, 7})));
    QVERIFY(onDisk.startsWith(
        QByteArray(QStringEncoder("windows-1251").encode(QStringLiteral("Яка планета найбільша — Юпітер")))));
    QCOMPARE(onDisk.count("\r\n"), 5);
    const Question read = readQuestion(file(2, 7)); // the quiz's reader
    QCOMPARE(read.text, QStringLiteral("Яка планета найбільша — Юпітер чи Земля?"));
    QCOMPARE(read.options[0], QStringLiteral("Юпітер"));
    QCOMPARE(read.rightOption(), right);
    QVERIFY(!window->isWindowModified());
    // The list no longer marks it as changed.
    QVERIFY(find<QTreeWidget>("QuestionList")->topLevelItem(1)->child(6)->text(0).startsWith(QLatin1String("7.")));
}

void EditorTest::unsoundQuestionBlocksSaving()
{
    const auto before = snapshot();
    window->setCurrent({3, 4});
    find<QLineEdit>("Option2")->setText(find<QLineEdit>("Option1")->text());
    QVERIFY(find<QLabel>("Problems")->text().contains(QStringLiteral("Line 3")));
    QVERIFY(!window->save());
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY2(watcher.texts().first().contains(slotName({3, 4})), qPrintable(watcher.texts().first()));
    QCOMPARE(snapshot(), before);
}

void EditorTest::readOnlyFolderChangesNothing()
{
    const auto before = snapshot();
    window->setCurrent({1, 3});
    find<QPlainTextEdit>("QuestionText")->setPlainText(QStringLiteral("Скільки планет у Сонячній системі?"));
    // An administrator's password is asked by pkexec; a stand-in that
    // shows what it was asked to run, and fails.
    QTemporaryDir binDir;
    const QString bin = binDir.path();
    QFile pkexec(bin + QStringLiteral("/pkexec"));
    QVERIFY(pkexec.open(QIODevice::WriteOnly) && pkexec.write("#!/bin/sh\necho \"pkexec $*\"\nexit 1\n") > 0);
    pkexec.close();
    // The importer it names, found on PATH (the build tree's own may lie
    // where the ordinary user cannot go).
    QVERIFY(QFile::copy(pkexec.fileName(), bin + QStringLiteral("/zorelad-import")));
    // Open to all but writable by none: the superuser's group stays with
    // the ordinary user the test becomes.
    const auto readOnly =
        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(pkexec.fileName(), readOnly);
    QFile::setPermissions(bin + QStringLiteral("/zorelad-import"), readOnly);
    QFile::setPermissions(bin, readOnly);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + qgetenv("ZORELAD_PROGRAM_DIR") + ':' + path);
    watcher.setAnswer([](QWidget *box) {
        const auto buttons = box->findChildren<QPushButton *>();
        const auto admin = std::find_if(buttons.begin(), buttons.end(), [](QPushButton *b) {
            return b->text().contains(QLatin1String("administrator"));
        });
        if (admin != buttons.end())
            (*admin)->click();
        else
            box->close();
    });
    QFile::setPermissions(scratch->path(), readOnly);
    for (const QString &folder :
         {QStringLiteral("/"), QStringLiteral("/1"), QStringLiteral("/2"), QStringLiteral("/3")})
        QFile::setPermissions(text + folder, readOnly);
    // The superuser writes anywhere: be an ordinary user while saving.
    const bool root = geteuid() == 0;
    QVERIFY(!root || seteuid(65534) == 0);
    const bool saved = window->save();
    QVERIFY(!root || seteuid(0) == 0);
    qputenv("PATH", path);
    watcher.setAnswer({});
    QVERIFY(!saved);
    QCOMPARE(watcher.seen().size(), 2);
    QVERIFY2(watcher.seen().first().objectName == QStringLiteral("NoPermission"), qPrintable(watcher.texts().first()));
    QVERIFY(watcher.texts().first().contains(text));
    // Saving as administrator hands the bank to the importer, for this folder.
    QVERIFY2(
        QRegularExpression(QStringLiteral("pkexec \\S*/zorelad-import \\S*\\.txt ") + QRegularExpression::escape(text))
            .match(watcher.texts().last())
            .hasMatch(),
        qPrintable(watcher.texts().last()));
    QCOMPARE(snapshot(), before);
    QVERIFY(window->isWindowModified());
}

enum DiskCase { CopyHoldsAll, ChangedOnDisk, Utf8File };

void EditorTest::diskAndCopies_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("a copy holds every question") << int(CopyHoldsAll);
    QTest::newRow("a file changed on disk") << int(ChangedOnDisk);
    QTest::newRow("a file saved as UTF-8") << int(Utf8File);
}

void EditorTest::diskAndCopies()
{
    QFETCH(int, which);
    EditorBank &bank = window->bank();
    Question changed = bank.question({1, 3});
    changed.text = QStringLiteral("Скільки планет у Сонячній системі?");
    bank.edit({1, 3}, changed, 1);
    if (which == CopyHoldsAll) {
        const QString copy = scratch->filePath(QStringLiteral("copy"));
        QCOMPARE(int(bank.saveCopy(copy).outcome), int(EditorBank::SaveResult::Saved));
        for (int level = 1; level <= 3; ++level) {
            for (int n = 1; n <= QuestionsPerLevel; ++n)
                QCOMPARE(readQuestion(questionPath(copy, level, n)), bank.question({level, n}));
        }
    } else if (which == ChangedOnDisk) {
        // Another teacher's import changes 2/5 while this editor is open.
        QFile other(file(2, 5));
        QVERIFY(other.open(QIODevice::WriteOnly | QIODevice::Truncate));
        other.write("Other\r\na\r\nb\r\nc\r\n1\r\n");
        other.close();
        const auto before = snapshot();
        QVERIFY(!window->save());
        QCOMPARE(watcher.seen().value(0).title, EditorWindow::tr("Changed on disk"));
        QCOMPARE(snapshot(), before);
        // Asked to, it saves its own change and leaves the other one be.
        QCOMPARE(int(bank.save(true).outcome), int(EditorBank::SaveResult::Saved));
        QCOMPARE(readQuestion(file(1, 3)), changed);
        QCOMPARE(bytes(2, 5), QByteArray("Other\r\na\r\nb\r\nc\r\n1\r\n"));
    } else {
        QFile utf8(file(1, 1));
        QVERIFY(utf8.open(QIODevice::WriteOnly | QIODevice::Truncate));
        utf8.write(QStringLiteral("Яка зоря найближча?\nСонце\nСіріус\nВега\n1\n").toUtf8());
        utf8.close();
        QVERIFY(window->openLocation(text));
        window->setCurrent({1, 1});
        QCOMPARE(find<QPlainTextEdit>("QuestionText")->toPlainText(), QStringLiteral("Яка зоря найближча?"));
        QVERIFY2(find<QLabel>("Problems")->text().contains(QStringLiteral("UTF-8")),
                 qPrintable(find<QLabel>("Problems")->text()));
    }
}

void EditorTest::importsOfText_data()
{
    QTest::addColumn<int>("problems"); // 0: Notepad's windows-1251
    QTest::addColumn<QString>("said");
    QTest::newRow("a Notepad text") << 0 << "windows-1251";
    QTest::newRow("600 problems") << 600 << "Nothing was taken.";
}

void EditorTest::importsOfText()
{
    QFETCH(int, problems);
    QFETCH(QString, said);
    QString text = QString::fromUtf8(window->bank().exportText(2));
    for (int n = 0; n < problems; ++n)
        text += QStringLiteral("\n[%1]\n").arg(n + 10);
    const QString path = scratch->filePath(QStringLiteral("import.txt"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(problems ? text.toUtf8() : QStringEncoder("windows-1251").encode(text));
    out.close();
    int height = 0;
    watcher.setAnswer([&height](QWidget *box) {
        height = box->sizeHint().height();
        box->close();
    });
    window->importFile(path);
    watcher.setAnswer({});
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY2(watcher.texts().first().contains(said), qPrintable(watcher.texts().first()));
    QVERIFY(height <= window->screen()->availableGeometry().height());
}

// The words a window shows a teacher: titles, labels, buttons, menus, tips.
static QStringList shownWords(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QLabel *label : window->findChildren<QLabel *>())
        texts << label->text();
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts << button->text() << button->toolTip();
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    }
    for (QAction *action : window->findChildren<QAction *>())
        texts << action->text();
    for (QTreeWidget *tree : window->findChildren<QTreeWidget *>()) {
        for (int c = 0; c < tree->columnCount(); ++c)
            texts << tree->headerItem()->text(c);
    }
    return texts;
}

void EditorTest::speaksUkrainian()
{
    const QString folder = qEnvironmentVariable("ZORELAD_PROGRAM_DIR") + QStringLiteral("/translations");
    QTranslator editor, bank, qt;
    QVERIFY(editor.load(QStringLiteral("zorelad-editor_uk"), folder)
            && bank.load(QStringLiteral("zorelad-bank_uk"), folder));
    QVERIFY(qt.load(QStringLiteral("qtbase_uk"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    for (QTranslator *t : {&editor, &bank, &qt})
        QCoreApplication::installTranslator(t);
    QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    window = std::make_unique<EditorWindow>();
    QVERIFY(window->openLocation(text));
    window->show();
    QStringList shown = shownWords(window.get());
    watcher.setAnswer([&shown](QWidget *dialog) {
        shown << shownWords(dialog);
        dialog->close();
    });
    window->findChild<QAction *>(QStringLiteral("OpenFolder"))->trigger(); // a file dialog
    window->findChild<QAction *>(QStringLiteral("SwapAction"))->trigger();
    Question unsound = window->bank().question({1, 1});
    unsound.options[1] = unsound.options[0];
    window->bank().edit({1, 1}, unsound, 3);
    window->save(); // refused: the question is unsound
    window->bank().history({1, 1})->undo();
    const QString bad = scratch->filePath(QStringLiteral("bad.txt"));
    QFile badText(bad);
    QVERIFY(badText.open(QIODevice::WriteOnly) && badText.write("[Рівень 2]\nq\n") > 0);
    badText.close();
    window->importFile(bad);
    window->bank().edit({1, 2}, unsound, 3);
    window->close(); // unsaved changes
    watcher.setAnswer({});
    QLocale::setDefault(QLocale::c());
    for (QTranslator *t : {&editor, &bank, &qt})
        QCoreApplication::removeTranslator(t);
    QCOMPARE(watcher.seen().size(), 5);
    // Names of commands, files and encodings may stay as they are, and "OK",
    // which Qt's own Ukrainian catalogue keeps, as Ukrainian desktops do.
    static const QRegularExpression allowed(QStringLiteral(
        "zorelad-\\w+|/"
        "\\S*|\\bText\\b|UTF-\\d+|windows-1251|Ctrl|Shift|Alt|PgUp|PgDown|\\*\\.txt|\\bsudo\\b|\\bOK\\b"));
    static const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
    QStringList inEnglish;
    for (QString line : shown) {
        line.remove(allowed);
        if (english.match(line).hasMatch())
            inEnglish << line;
    }
    QVERIFY2(inEnglish.isEmpty(), qPrintable(inEnglish.join(QStringLiteral(" | "))));
}

void EditorTest::swapAndMoveMoveTheFiles()
{
    const QByteArray a = bytes(1, 2);
    const QByteArray b = bytes(3, 20);
    window->setCurrent({1, 2});
    window->swapWith({3, 20});
    QCOMPARE(window->current(), (BankSlot{3, 20}));
    // Within a level the questions between shift by one.
    const QByteArray first = bytes(2, 1);
    const QByteArray second = bytes(2, 2);
    window->bank().move({2, 1}, 3);
    // From the keyboard, with the question's text being typed: down and up again.
    window->setCurrent({2, 5});
    find<QPlainTextEdit>("QuestionText")->setFocus();
    const Question fifth = window->bank().question({2, 5});
    QTest::keyClick(find<QPlainTextEdit>("QuestionText"), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window->bank().question({2, 6}), fifth);
    QTest::keyClick(find<QPlainTextEdit>("QuestionText"), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window->bank().question({2, 5}), fifth);
    QVERIFY(window->save());
    QCOMPARE(bytes(1, 2), b);
    QCOMPARE(bytes(3, 20), a);
    QCOMPARE(bytes(2, 1), second);
    QCOMPARE(bytes(2, 3), first);
}

void EditorTest::closingWithChangesAsks()
{
    const auto before = snapshot();
    find<QLineEdit>("Option3")->setText(QStringLiteral("Вега"));
    watcher.setAnswer([](QWidget *box) { static_cast<QMessageBox *>(box)->button(QMessageBox::Cancel)->click(); });
    QVERIFY(!window->close());
    watcher.setAnswer([](QWidget *box) { static_cast<QMessageBox *>(box)->button(QMessageBox::Discard)->click(); });
    QVERIFY(window->close());
    watcher.setAnswer({});
    QCOMPARE(watcher.seen().size(), 2);
    QCOMPARE(snapshot(), before);
}

namespace {

// The longest text made of `word` repeated that still fits.
template <class Fit> QString longestFitting(const QString &word, Fit fit)
{
    QString text = word;
    while (fit(text + QLatin1Char(' ') + word).fits())
        text += QLatin1Char(' ') + word;
    return text;
}

} // namespace

void EditorTest::previewAgreesWithCheckerAndQuiz_data()
{
    QTest::addColumn<bool>("tooLong");
    QTest::newRow("fits exactly") << false;
    QTest::newRow("a word too long") << true;
}

void EditorTest::previewAgreesWithCheckerAndQuiz()
{
    QFETCH(bool, tooLong);
    Question q;
    q.text = longestFitting(QStringLiteral("Меркурій"), questionFit);
    q.options[0] = longestFitting(QStringLiteral("Шш"), optionFit);
    q.options[1] = QStringLiteral("Венера");
    q.options[2] = QStringLiteral("Марс");
    q.answer = QStringLiteral("2");
    if (tooLong) {
        q.text += QStringLiteral(" Меркурій");
        q.options[0] += QStringLiteral(" Шш");
    }

    // The editor: its problems name lines 1 and 2 exactly when too long.
    window->setCurrent({1, 1});
    window->bank().edit({1, 1}, q, 0);
    QSet<int> lines;
    for (const TextRemark &problem : window->bank().problems({1, 1}))
        lines << problem.line;
    const QSet<int> expected = tooLong ? QSet<int>{1, 2} : QSet<int>();
    QCOMPARE(lines, expected);

    // The checker, on a program folder holding the question.
    testing_support::ProgramDir dir;
    QFile question(dir.path() + QStringLiteral("Text/1/1.z"));
    QVERIFY(question.open(QIODevice::WriteOnly | QIODevice::Truncate));
    question.write(encodeQuestionFile(q));
    question.close();
    // Open to pupils, as the checker wants a program folder to be.
    QFile::setPermissions(dir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QProcess check;
    check.start(qEnvironmentVariable("ZORELAD_PROGRAM_DIR") + QStringLiteral("/zorelad-check"),
                {dir.path() + QStringLiteral("Text")});
    QVERIFY(check.waitForFinished(60000));
    const QByteArray report = check.readAllStandardOutput();
    QVERIFY2((check.exitCode() != 0) == tooLong, report.constData());
    QCOMPARE(report.contains("1.z"), tooLong);

    // The quiz's window shows the same pixels as the preview, cut where it cuts.
    Windows quiz = createWindows(dir.options());
    quiz.Form1->show();
    testing_support::identify(quiz);
    quiz.Form1->findChild<QAction *>(QStringLiteral("N6"))->trigger();
    auto *memo = quiz.Form1->findChild<QTextEdit *>(QStringLiteral("Memo1"));
    auto *option = quiz.Form1->findChild<QRadioButton *>(QStringLiteral("RadioButton1"));
    auto *preview = find<QuestionPreview>("Preview");
    QCOMPARE(memo->toPlainText(), q.text);
    QCOMPARE(memo->document()->size().height() > memo->viewport()->height(), tooLong);
    QCOMPARE(option->sizeHint().width() > option->width(), tooLong);
    QCOMPARE(preview->questionBox()->size(), memo->size());
    QCOMPARE(preview->questionBox()->grab().toImage(), memo->grab().toImage());
    QCOMPARE(preview->optionButton(0)->grab().toImage(), option->grab().toImage());
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
