#include "editorwindow.h"

#include "failure.h"
#include "paths.h"
#include "questionpreview.h"
#include "safewrite.h"
#include "widgets.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDropEvent>
#include <QEventLoop>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

#include <pwd.h>
#include <unistd.h>

namespace zorelad {

namespace {

QString levelName(int level)
{
    static const char *const numerals[] = {"І", "ІІ", "ІІІ"};
    return EditorWindow::tr("Level %1").arg(QString::fromUtf8(numerals[level - 1]));
}

BankSlot slotOf(const QTreeWidgetItem *item)
{
    return item && item->parent() ? item->data(0, Qt::UserRole).value<BankSlot>() : BankSlot{0, 0};
}

// The list of questions, whose items are dragged onto one another: the
// bank moves the questions, the list only shows where they went.
class QuestionList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(BankSlot from, BankSlot to)> dropped;

protected:
    void dropEvent(QDropEvent *event) override
    {
        const BankSlot from = slotOf(currentItem());
        const BankSlot to = slotOf(itemAt(event->position().toPoint()));
        // Accepted as no action, so the view removes nothing itself.
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        if (from.level > 0 && to.level > 0 && dropped)
            dropped(from, to);
    }
};

} // namespace

EditorWindow::EditorWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("EditorWindow"));
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number)
            m_undo.addStack(m_bank.history({level, number}));
    }
    createList();
    createEditor();
    createActions();
    m_place = new QLabel(this);
    statusBar()->addPermanentWidget(m_place);

    connect(&m_bank, &EditorBank::questionChanged, this, [this](BankSlot slot) {
        updateItem(slot);
        if (slot == m_current)
            showQuestion();
    });
    connect(&m_bank, &EditorBank::modifiedChanged, this, &EditorWindow::updateTitle);
    connect(&m_bank, &EditorBank::opened, this, [this] {
        for (int level = 1; level <= Levels; ++level) {
            for (int number = 1; number <= QuestionsPerLevel; ++number)
                updateItem({level, number});
        }
        setCurrent(m_current);
    });
    resize(1000, 640);
    setCurrent({1, 1});
}

void EditorWindow::createList()
{
    auto *list = new QuestionList(this);
    // Dropped within its level a question moves there; onto another level's
    // question, the two swap.
    list->dropped = [this](BankSlot from, BankSlot to) {
        if (from.level == to.level)
            m_bank.move(from, to.number);
        else
            m_bank.swap(from, to);
        setCurrent(to);
    };
    list->setDragEnabled(true);
    list->setAcceptDrops(true);
    list->setDragDropMode(QAbstractItemView::InternalMove);
    list->setDropIndicatorShown(true);
    m_list = list;
    m_list->setObjectName(QStringLiteral("QuestionList"));
    m_list->setAccessibleName(tr("Questions"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Question"), tr("State")});
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 260);
    for (int level = 1; level <= Levels; ++level) {
        auto *levelItem = new QTreeWidgetItem(m_list, {levelName(level)});
        levelItem->setFlags(Qt::ItemIsEnabled);
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            auto *questionItem = new QTreeWidgetItem(levelItem);
            questionItem->setData(0, Qt::UserRole, QVariant::fromValue(BankSlot{level, number}));
        }
        levelItem->setExpanded(true);
    }
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *now) {
        if (const BankSlot slot = slotOf(now); slot.level > 0)
            setCurrent(slot);
    });
}

void EditorWindow::createEditor()
{
    auto *central = new QWidget(this);
    auto *columns = new QHBoxLayout(central);
    columns->addWidget(m_list, 1);

    auto *editor = new QVBoxLayout;
    auto *form = new QGridLayout;
    // The quiz shows the question in a box of several lines; so does the
    // editor, though the question stays one line of its file.
    m_text = new QPlainTextEdit(central);
    m_text->setObjectName(QStringLiteral("QuestionText"));
    m_text->setAccessibleName(tr("Question text"));
    m_text->setTabChangesFocus(true);
    m_text->setFixedHeight(m_text->fontMetrics().lineSpacing() * 4 + 2 * m_text->frameWidth() + 8);
    auto *textLabel = new QLabel(tr("&Question:"), central);
    textLabel->setBuddy(m_text);
    form->addWidget(textLabel, 0, 0, 1, 2);
    form->addWidget(m_text, 0, 2);
    auto *rightLabel = new QLabel(tr("Right option (Alt+1, Alt+2, Alt+3), options:"), central);
    form->addWidget(rightLabel, 1, 0, 1, 3);
    m_rightGroup = new QButtonGroup(this);
    for (int k = 0; k < 3; ++k) {
        m_right[k] = new QRadioButton(QStringLiteral("&%1").arg(k + 1), central);
        m_right[k]->setObjectName(QStringLiteral("Right%1").arg(k + 1));
        m_right[k]->setAccessibleName(tr("Option %1 is the right one").arg(k + 1));
        m_rightGroup->addButton(m_right[k], k + 1);
        m_options[k] = new QLineEdit(central);
        m_options[k]->setObjectName(QStringLiteral("Option%1").arg(k + 1));
        m_options[k]->setAccessibleName(tr("Option %1").arg(k + 1));
        form->addWidget(m_right[k], 2 + k, 1);
        form->addWidget(m_options[k], 2 + k, 2);
    }
    editor->addLayout(form);

    for (QWidget *field : std::initializer_list<QWidget *>{m_text, m_options[0], m_options[1], m_options[2]})
        field->installEventFilter(this);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] { fieldEdited(1); });
    for (int k = 0; k < 3; ++k) {
        connect(m_options[k], &QLineEdit::textChanged, this, [this, k] { fieldEdited(k + 2); });
        connect(m_right[k], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                fieldEdited(5);
        });
    }

    auto *moves = new QHBoxLayout;
    const auto button = [&](const QString &text, const char *name, auto slot) {
        auto *b = new QPushButton(text, central);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        moves->addWidget(b);
    };
    button(tr("Move &up"), "MoveUp", [this] { moveBy(-1); });
    button(tr("Move &down"), "MoveDown", [this] { moveBy(1); });
    button(tr("S&wap with…"), "SwapWith", [this] { swapDialog(); });
    moves->addStretch();
    editor->addLayout(moves);

    auto *previewLabel = new QLabel(tr("As the pupil sees it:"), central);
    editor->addWidget(previewLabel);
    m_preview = new QuestionPreview(central);
    editor->addWidget(m_preview);
    m_problems = new QLabel(central);
    m_problems->setObjectName(QStringLiteral("Problems"));
    m_problems->setAccessibleName(tr("Problems of the question"));
    m_problems->setWordWrap(true);
    m_problems->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_problems->setFocusPolicy(Qt::TabFocus);
    editor->addWidget(m_problems);
    editor->addStretch();
    columns->addLayout(editor, 1);
    setCentralWidget(central);
}

void EditorWindow::createActions()
{
    const auto action = [this](QMenu *menu, const QString &text, const QKeySequence &key, const char *name, auto slot) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu *file = menuBar()->addMenu(tr("&File"));
    action(file, tr("&Open Text folder…"), QKeySequence::Open, "OpenFolder", [this] { openFolderDialog(); });
    action(file, tr("Open bank &text…"), QKeySequence(), "OpenText", [this] { openTextDialog(); });
    action(file, tr("&Save"), QKeySequence::Save, "Save", [this] { save(); });
    action(file, tr("Save a &copy in a folder…"), QKeySequence(), "SaveCopy", [this] { saveCopyDialog(); });
    file->addSeparator();
    action(file, tr("&Import text…"), QKeySequence(QStringLiteral("Ctrl+I")), "Import", [this] { importDialog(); });
    action(file, tr("&Export this level…"), QKeySequence(QStringLiteral("Ctrl+E")), "ExportLevel",
           [this] { exportDialog(m_current.level); });
    action(file, tr("Export the &whole bank…"), QKeySequence(QStringLiteral("Ctrl+Shift+E")), "ExportBank",
           [this] { exportDialog(0); });
    file->addSeparator();
    action(file, tr("&Quit"), QKeySequence::Quit, "Quit", [this] { close(); });

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    QAction *undo = m_undo.createUndoAction(this, tr("&Undo"));
    undo->setObjectName(QStringLiteral("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_undo.createRedoAction(this, tr("&Redo"));
    redo->setObjectName(QStringLiteral("Redo"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    // Ctrl+Shift with the arrows: no common desktop takes it, nor the usual
    // keyboard layout switch (Alt+Shift), as they take Alt+Shift+arrows.
    action(edit, tr("Move &up"), MoveUpKey, "MoveUpAction", [this] { moveBy(-1); });
    action(edit, tr("Move &down"), MoveDownKey, "MoveDownAction", [this] { moveBy(1); });
    action(edit, tr("S&wap with…"), QKeySequence(QStringLiteral("Ctrl+Shift+X")), "SwapAction",
           [this] { swapDialog(); });

    QMenu *go = menuBar()->addMenu(tr("&Go"));
    action(go, tr("&Previous question"), QKeySequence(QStringLiteral("Ctrl+PgUp")), "Previous", [this] { step(-1); });
    action(go, tr("&Next question"), QKeySequence(QStringLiteral("Ctrl+PgDown")), "Next", [this] { step(1); });
    action(go, tr("&List of questions"), QKeySequence(QStringLiteral("Ctrl+L")), "FocusList",
           [this] { m_list->setFocus(); });

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    action(help, tr("&Teacher's guide"), QKeySequence::HelpContents, "Guide",
           [] { QDesktopServices::openUrl(QUrl::fromLocalFile(teachersGuide())); });
}

QString EditorWindow::teachersGuide()
{
    // Installed beside the package's other documents; in a build tree, the
    // source tree's.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/../share/doc/zorelad/teacher-guide-uk.md"));
    return QFileInfo::exists(installed) ? installed : QStringLiteral(ZORELAD_GUIDE_SOURCE);
}

bool EditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The text fields keep no undo history of their own: Ctrl+Z and
    // Ctrl+Shift+Z go to the question's history.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
            || key->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
            event->ignore();
            return true;
        }
    }
    // Return in the question's box goes on to the first option, as in a
    // one-line field: the question is one line of its file.
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_options[0]->setFocus();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString EditorWindow::quizFolder()
{
    // An installed system keeps the questions among its configuration and
    // reaches them through a link beside the program.
    const QString here = programDirectory();
    for (const QString &candidate : {here + QStringLiteral("Text"), here + QStringLiteral("../lib/zorelad/Text")}) {
        const QFileInfo info(candidate);
        if (info.isDir())
            return info.canonicalFilePath();
    }
    return here + QStringLiteral("Text");
}

void EditorWindow::updatePlace()
{
    const QString quiz = quizFolder();
    const bool copy = m_bank.kind() == EditorBank::Kind::Folder
        && QFileInfo(m_bank.location()).canonicalFilePath() != QFileInfo(quiz).canonicalFilePath();
    m_place->setText(copy ? tr("%1 (a copy: the quiz reads %2)").arg(m_bank.location(), quiz) : m_bank.location());
}

bool EditorWindow::openLocation(const QString &location)
{
    try {
        m_bank.open(location);
    } catch (const Failure &failure) {
        showList(QMessageBox::Warning, windowTitle(), tr("Cannot open the questions."),
                 failure.text().split(QLatin1Char('\n')));
        return false;
    }
    updatePlace();
    if (m_bank.kind() == EditorBank::Kind::Folder && !QFileInfo(m_bank.location()).isWritable())
        statusBar()->showMessage(tr("You may read this folder but not write to it: save a copy or export."));
    return true;
}

void EditorWindow::setCurrent(BankSlot slot)
{
    m_current = slot;
    m_undo.setActiveStack(m_bank.history(slot));
    if (QTreeWidgetItem *it = item(slot); m_list->currentItem() != it)
        m_list->setCurrentItem(it);
    showQuestion();
}

QTreeWidgetItem *EditorWindow::item(BankSlot slot) const
{
    return m_list->topLevelItem(slot.level - 1)->child(slot.number - 1);
}

void EditorWindow::showQuestion()
{
    const Question &q = m_bank.question(m_current);
    m_showing = true;
    // Fields already holding the text keep their cursor.
    if (m_text->toPlainText() != q.text)
        m_text->setPlainText(q.text);
    for (int k = 0; k < 3; ++k) {
        if (m_options[k]->text() != q.options[k])
            m_options[k]->setText(q.options[k]);
    }
    const int right = q.rightOption();
    if (right > 0)
        m_right[right - 1]->setChecked(true);
    else if (QAbstractButton *checked = m_rightGroup->checkedButton())
        uncheck(static_cast<QRadioButton *>(checked));
    m_showing = false;
    m_preview->setQuestion(q);
    showProblems();
}

void EditorWindow::showProblems()
{
    const QList<TextRemark> problems = m_bank.problems(m_current);
    QStringList lines;
    for (const TextRemark &problem : problems)
        lines << tr("Line %1: %2").arg(problem.line).arg(problem.message);
    const QString note = m_bank.fileNote(m_current);
    m_problems->setText((note.isEmpty() ? QString() : note + QLatin1Char('\n'))
                        + (lines.isEmpty() ? tr("The question is sound.") : lines.join(QLatin1Char('\n'))));
    m_problems->setStyleSheet(lines.isEmpty() && note.isEmpty() ? QStringLiteral("color: darkgreen")
                                                                : QStringLiteral("color: #b00000"));
}

void EditorWindow::updateItem(BankSlot slot)
{
    QTreeWidgetItem *it = item(slot);
    const Question &q = m_bank.question(slot);
    const QList<TextRemark> problems = m_bank.problems(slot);
    it->setText(0,
                QStringLiteral("%1%2. %3")
                    .arg(m_bank.isModified(slot) ? QStringLiteral("*") : QString())
                    .arg(slot.number)
                    .arg(q.text));
    it->setText(1, problems.isEmpty() ? tr("sound") : problems.first().message);
    QStringList all;
    for (const TextRemark &problem : problems)
        all << tr("Line %1: %2").arg(problem.line).arg(problem.message);
    it->setToolTip(1, all.join(QLatin1Char('\n')));
    it->setForeground(1, problems.isEmpty() ? QBrush(Qt::darkGreen) : QBrush(QColor(0xb0, 0, 0)));
    it->setIcon(
        1, style()->standardIcon(problems.isEmpty() ? QStyle::SP_DialogApplyButton : QStyle::SP_MessageBoxWarning));
}

void EditorWindow::updateTitle()
{
    setWindowTitle(tr("Zorelad question editor — %1[*]").arg(m_bank.location()));
    setWindowModified(m_bank.isModified());
}

void EditorWindow::fieldEdited(int line)
{
    if (m_showing)
        return;
    Question q = m_bank.question(m_current);
    // A line break, typed or pasted, would end the question's line in its file.
    q.text = m_text->toPlainText().replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (int k = 0; k < 3; ++k)
        q.options[k] = m_options[k]->text();
    if (line == 5)
        q.answer = QString::number(m_rightGroup->checkedId());
    m_bank.edit(m_current, q, line);
}

bool EditorWindow::save()
{
    EditorBank::SaveJob job;
    EditorBank::SaveResult result = m_bank.prepareSave(false, &job);
    if (result.outcome == EditorBank::SaveResult::ChangedOnDisk
        && QMessageBox::warning(this, tr("Changed on disk"), tr("%1\nSave your changes over them?").arg(result.message),
                                QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel)
            == QMessageBox::Save)
        result = m_bank.prepareSave(true, &job);
    if (result.outcome == EditorBank::SaveResult::Saved)
        result = writeInBackground(job);
    switch (result.outcome) {
    case EditorBank::SaveResult::Saved:
        statusBar()->showMessage(tr("Saved."), 5000);
        return true;
    case EditorBank::SaveResult::Unsound:
        QMessageBox::warning(this, tr("Not saved"), tr("Nothing was saved.\n%1").arg(result.message));
        return false;
    case EditorBank::SaveResult::NoPermission:
        offerCopy(result.message);
        return !m_bank.isModified();
    case EditorBank::SaveResult::ChangedOnDisk:
        statusBar()->showMessage(tr("Not saved."), 5000);
        return false;
    case EditorBank::SaveResult::Failed:
        QMessageBox::critical(this, tr("Not saved"), result.message);
        return false;
    }
    return false;
}

EditorBank::SaveResult EditorWindow::writeInBackground(const EditorBank::SaveJob &job)
{
    // The disk is written on a thread of its own, so that a folder on a
    // share that hangs leaves the window painting, with a word on why.
    EditorBank::SaveResult result;
    QEventLoop loop;
    QThread *writer = QThread::create([&job, &result] { result = EditorBank::writeJob(job); });
    connect(writer, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer slow;
    slow.setSingleShot(true);
    connect(&slow, &QTimer::timeout, this, [this, &job] {
        statusBar()->showMessage(
            tr("Still saving: the folder %1 does not answer. The questions stay here until it does.")
                .arg(job.location));
    });
    slow.start(SlowSaveMs);
    centralWidget()->setEnabled(false);
    menuBar()->setEnabled(false);
    m_saving = true;
    writer->start();
    loop.exec();
    writer->wait();
    delete writer;
    m_saving = false;
    centralWidget()->setEnabled(true);
    menuBar()->setEnabled(true);
    statusBar()->clearMessage();
    if (result.outcome == EditorBank::SaveResult::Saved) {
        // The questions that were changed lose their marks.
        QList<BankSlot> marked;
        for (int level = 1; level <= Levels; ++level) {
            for (int number = 1; number <= QuestionsPerLevel; ++number) {
                if (m_bank.isModified({level, number}))
                    marked << BankSlot{level, number};
            }
        }
        m_bank.finishSave(job);
        updatePlace();
        for (const BankSlot &slot : marked)
            updateItem(slot);
        showProblems();
    }
    return result;
}

namespace {

// The account's login name, for the command that adds it to the teachers.
QString userName()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : qEnvironmentVariable("USER");
}

} // namespace

void EditorWindow::offerCopy(const QString &reason)
{
    QMessageBox box(QMessageBox::Warning, tr("Not saved"),
                    tr("Only teachers of the group \"%1\" may save in this folder. To become one, ask the school's "
                       "administrator to run \"sudo adduser %2 %1\", then log out and in again.")
                            .arg(QString::fromLatin1(TeachersGroup), userName())
                        + QStringLiteral("\n\n") + reason,
                    QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("NoPermission"));
    const QString pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    QPushButton *admin =
        pkexec.isEmpty() ? nullptr : box.addButton(tr("Save as &administrator"), QMessageBox::AcceptRole);
    QPushButton *copy = box.addButton(tr("Save a &copy…"), QMessageBox::AcceptRole);
    QPushButton *exported = box.addButton(tr("&Export…"), QMessageBox::ActionRole);
    box.setDefaultButton(admin ? admin : copy);
    box.exec();
    if (admin && box.clickedButton() == admin)
        saveAsAdministrator(pkexec);
    else if (box.clickedButton() == copy)
        saveCopyDialog();
    else if (box.clickedButton() == exported)
        exportDialog(0);
}

void EditorWindow::saveAsAdministrator(const QString &pkexec)
{
    // The bank goes as text to the importer, run with an administrator's
    // password; it checks and writes it as it would from a terminal.
    QTemporaryFile text(QDir::tempPath() + QStringLiteral("/zorelad-XXXXXX.txt"));
    if (!text.open() || !writeAll(text, m_bank.exportText()).isEmpty() || !text.flush()) {
        QMessageBox::critical(this, tr("Not saved"), text.errorString());
        return;
    }
    QString importer = QCoreApplication::applicationDirPath() + QStringLiteral("/zorelad-import");
    if (!QFileInfo(importer).isExecutable())
        importer = QStandardPaths::findExecutable(QStringLiteral("zorelad-import"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start(pkexec, {importer, text.fileName(), m_bank.location()});
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    process.waitForFinished(0);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        QMessageBox::warning(this, tr("Not saved"),
                             tr("The questions were not saved as administrator.\n%1")
                                 .arg(QString::fromLocal8Bit(process.readAll()).trimmed()));
        return;
    }
    openLocation(m_bank.location());
    statusBar()->showMessage(tr("Saved."), 5000);
}

void EditorWindow::openFolderDialog()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Open a Text folder"), m_bank.location());
    if (!folder.isEmpty())
        openLocation(folder);
}

void EditorWindow::openTextDialog()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open a bank text"), QString(), tr("Bank text (*.txt);;All files (*)"));
    if (!path.isEmpty())
        openLocation(path);
}

void EditorWindow::saveCopyDialog()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Save a copy in a folder"));
    if (folder.isEmpty())
        return;
    EditorBank::SaveJob job;
    EditorBank::SaveResult result = m_bank.prepareCopy(folder, &job);
    if (result.outcome == EditorBank::SaveResult::Saved)
        result = writeInBackground(job);
    if (result.outcome == EditorBank::SaveResult::Saved)
        QMessageBox::information(this, tr("Copy saved"),
                                 tr("The questions were saved in %1. The quiz does not read this copy: it reads %2.")
                                     .arg(m_bank.location(), quizFolder()));
    else
        QMessageBox::warning(this, tr("Not saved"), tr("Nothing was saved.\n%1").arg(result.message));
}

bool EditorWindow::writeText(const QString &path, const QByteArray &bytes)
{
    if (const QString failure = writeOutputFile(path, bytes); !failure.isEmpty()) {
        QMessageBox::warning(this, tr("Not exported"), failure);
        return false;
    }
    return true;
}

void EditorWindow::exportDialog(int level)
{
    const QString path =
        QFileDialog::getSaveFileName(this, level ? tr("Export %1").arg(levelName(level)) : tr("Export the whole bank"),
                                     QString(), tr("Bank text (*.txt);;All files (*)"));
    if (!path.isEmpty() && writeText(path, m_bank.exportText(level)))
        statusBar()->showMessage(tr("Exported to %1.").arg(path), 5000);
}

void EditorWindow::importDialog()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Import a bank text"), QString(), tr("Bank text (*.txt);;All files (*)"));
    if (!path.isEmpty())
        importFile(path);
}

void EditorWindow::importFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, tr("Not imported"), tr("Cannot open %1: %2").arg(path, file.errorString()));
        return;
    }
    bool taken = false;
    QByteArray text;
    if (const QString refused = readBankText(file, path, &text); !refused.isEmpty()) {
        QMessageBox::warning(this, tr("Not imported"), refused);
        return;
    }
    const QList<TextRemark> remarks = m_bank.importText(text, &taken);
    QStringList lines;
    for (const TextRemark &remark : remarks)
        lines << (remark.line > 0 ? tr("Line %1: %2").arg(remark.line).arg(remark.message) : remark.message);
    if (!taken)
        showList(QMessageBox::Warning, tr("Not imported"), tr("Nothing was taken."), lines);
    else if (!lines.isEmpty())
        showList(QMessageBox::Information, tr("Imported"), QString(), lines);
}

void EditorWindow::showList(QMessageBox::Icon icon, const QString &title, const QString &intro,
                            const QStringList &lines)
{
    // The first few in the box, each cut to a readable length; all of them
    // in the details, which scroll: a box never grows past the screen.
    constexpr int Shown = 8;
    constexpr int LineLength = 200;
    QStringList text;
    if (!intro.isEmpty())
        text << intro;
    for (const QString &line : lines.mid(0, Shown))
        text << (line.size() > LineLength ? line.left(LineLength) + QChar(0x2026) : line);
    QMessageBox box(icon, title, QString(), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("ListBox"));
    if (lines.size() > Shown || text.join(QString()).size() > Shown * LineLength) {
        text << tr("…and %n more; the details list them all.", nullptr,
                   int(lines.size() - qMin<qsizetype>(lines.size(), Shown)));
        box.setDetailedText(lines.join(QLatin1Char('\n')));
    }
    box.setText(text.join(QLatin1Char('\n')));
    box.exec();
}

void EditorWindow::swapDialog()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Swap %1 with").arg(slotName(m_current)));
    auto *form = new QFormLayout(&dialog);
    // Wide enough for its title, which the window manager would cut.
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 160);
    auto *level = new QComboBox(&dialog);
    for (int l = 1; l <= Levels; ++l)
        level->addItem(levelName(l));
    level->setCurrentIndex(m_current.level - 1);
    auto *number = new QSpinBox(&dialog);
    number->setRange(1, QuestionsPerLevel);
    number->setValue(m_current.number);
    form->addRow(tr("&Level:"), level);
    form->addRow(tr("&Question number:"), number);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() == QDialog::Accepted)
        swapWith({level->currentIndex() + 1, number->value()});
}

void EditorWindow::swapWith(BankSlot other)
{
    m_bank.swap(m_current, other);
    setCurrent(other);
}

void EditorWindow::moveBy(int by)
{
    const int to = m_current.number + by;
    if (to < 1 || to > QuestionsPerLevel)
        return;
    m_bank.move(m_current, to);
    setCurrent({m_current.level, to});
}

void EditorWindow::step(int by)
{
    const int index = (m_current.level - 1) * QuestionsPerLevel + m_current.number - 1 + by;
    if (index >= 0 && index < Levels * QuestionsPerLevel)
        setCurrent({index / QuestionsPerLevel + 1, index % QuestionsPerLevel + 1});
}

void EditorWindow::closeEvent(QCloseEvent *event)
{
    if (m_saving) {
        event->ignore();
        return;
    }
    if (!m_bank.isModified()) {
        event->accept();
        return;
    }
    const auto answer =
        QMessageBox::question(this, tr("Unsaved changes"), tr("Some questions were changed. Save them before closing?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save()))
        event->accept();
    else
        event->ignore();
}

} // namespace zorelad
