#pragma once
// The question editor's window: the bank's 72 questions in a list, each
// marked sound or with its problem; one question's text, options and right
// option beside a preview drawn by the quiz's own widgets.

#include "editorbank.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMessageBox>
#include <QUndoGroup>

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zorelad {

class QuestionPreview;

class EditorWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit EditorWindow(QWidget *parent = nullptr);

    EditorBank &bank() { return m_bank; }
    // The questions the quiz reads: the Text folder beside the program in a
    // build tree, else the installed program's.
    static QString quizFolder();
    // Opens a Text folder or a bank text, saying why when it cannot.
    bool openLocation(const QString &location);
    BankSlot current() const { return m_current; }
    void setCurrent(BankSlot slot);

    // The group whose members may save in the installed question folder.
    static constexpr const char *TeachersGroup = "zorelad";
    // Moving a question within its level.
    static inline const QKeySequence MoveUpKey{QStringLiteral("Ctrl+Shift+Up")};
    static inline const QKeySequence MoveDownKey{QStringLiteral("Ctrl+Shift+Down")};
    // After this long a save that has not ended says why it waits.
    static constexpr int SlowSaveMs = 3000;

    // The commands, also for tests and the keyboard.
    bool save();
    // Takes the questions of a bank text file into the levels it holds.
    void importFile(const QString &path);
    void swapWith(BankSlot other);
    void moveBy(int step);
    void step(int by);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createEditor();
    void createList();
    void createActions();
    void showQuestion();
    void showProblems();
    void updateItem(BankSlot slot);
    void updateTitle();
    void fieldEdited(int line);
    void offerCopy(const QString &reason);
    void updatePlace();
    void saveAsAdministrator(const QString &pkexec);
    void openFolderDialog();
    void openTextDialog();
    void saveCopyDialog();
    void exportDialog(int level);
    void importDialog();
    void swapDialog();
    bool writeText(const QString &path, const QByteArray &bytes);
    void showList(QMessageBox::Icon icon, const QString &title, const QString &intro, const QStringList &lines);
    EditorBank::SaveResult writeInBackground(const EditorBank::SaveJob &job);
    QTreeWidgetItem *item(BankSlot slot) const;

    EditorBank m_bank;
    QUndoGroup m_undo;
    BankSlot m_current;
    bool m_showing = false;
    bool m_saving = false;

    QTreeWidget *m_list = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QLineEdit *m_options[3] = {};
    QRadioButton *m_right[3] = {};
    QButtonGroup *m_rightGroup = nullptr;
    QuestionPreview *m_preview = nullptr;
    QLabel *m_problems = nullptr;
    QLabel *m_place = nullptr;
};

} // namespace zorelad
