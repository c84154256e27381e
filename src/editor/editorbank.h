#pragma once
// The question bank as the editor holds it: 3 levels of 24 questions read
// from a Text folder or from a bank text, each question with its own
// undo history, and saving that writes only sound questions, only through
// the bank's safe write.

#include "banktext.h"
#include "questionfolder.h"

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <array>
#include <memory>

namespace zorelad {

// A place in the bank: level 1 to 3, number 1 to 24.
struct BankSlot {
    int level = 1;
    int number = 1;
    bool operator==(const BankSlot &other) const { return level == other.level && number == other.number; }
};

class EditorBank : public QObject {
    Q_OBJECT

public:
    enum class Kind { Folder, Text };

    // How a save ended.
    struct SaveResult {
        enum Outcome { Saved, Unsound, NoPermission, ChangedOnDisk, Failed } outcome = Saved;
        QString message; // why nothing was written
    };

    // What a save writes, taken from the bank when it starts: the disk is
    // written from it on any thread, and what it holds becomes the saved
    // state when it is done.
    struct SaveJob {
        QString location;
        Kind kind = Kind::Folder;
        QList<LevelFiles> levels; // a folder: the levels with changes
        QByteArray text;          // a bank text: all of it
        std::array<std::array<Question, QuestionsPerLevel>, Levels> questions;
    };

    explicit EditorBank(QObject *parent = nullptr);
    ~EditorBank() override;

    // Opens a Text folder (1/1.z .. 3/24.z) or a bank text; fails with the
    // reason and leaves the bank as it was.
    void open(const QString &location);
    QString location() const { return m_location; }
    Kind kind() const { return m_kind; }

    const Question &question(BankSlot slot) const;
    // The question's problems as the bank checks them, the fit on the
    // quiz's widgets included, each at the line (1 to 5) it concerns.
    QList<TextRemark> problems(BankSlot slot) const;
    bool isModified(BankSlot slot) const;
    bool isModified() const;
    QUndoStack *history(BankSlot slot) const;

    // Changes a question as one undoable step; consecutive changes to the
    // same line of the same question merge into one step.
    void edit(BankSlot slot, const Question &question, int line);
    // Exchanges two questions, also of different levels.
    void swap(BankSlot a, BankSlot b);
    // Moves a question to another number of its level; the ones between
    // shift by one.
    void move(BankSlot from, int toNumber);

    // The questions of one level, or of all (level 0), as bank text.
    QByteArray exportText(int level = 0) const;
    // Takes the questions of a bank text in place of the levels it holds;
    // returns its problems (nothing taken) or its notes.
    QList<TextRemark> importText(const QByteArray &utf8, bool *taken);

    // What the file of a question said when it was read: its encoding, or
    // why it could not be read; empty when all was well.
    QString fileNote(BankSlot slot) const;

    // Writes the levels with changed questions to where the bank came from,
    // each level whole. Nothing is written while a changed question is
    // unsound, the place cannot take it, or (unless `overwrite`) a question
    // file changed on disk since it was read.
    SaveResult save(bool overwrite = false);
    // Writes every question as a Text folder at `folder`, which becomes the
    // bank's location.
    SaveResult saveCopy(const QString &folder);

    // save() in three steps, so that the disk is written off the window's
    // thread: the job (or why there is none), the writing, and the end.
    SaveResult prepareSave(bool overwrite, SaveJob *job) const;
    SaveResult prepareCopy(const QString &folder, SaveJob *job) const;
    static SaveResult writeJob(const SaveJob &job);
    void finishSave(const SaveJob &job);

signals:
    void questionChanged(zorelad::BankSlot slot);
    void modifiedChanged();
    void opened();

private:
    struct Entry;
    class EditCommand;
    friend class EditCommand;

    Entry *&entry(BankSlot slot);
    const Entry *entry(BankSlot slot) const;
    BankSlot slotOf(const Entry *entry) const;
    void apply(Entry *entry, const Question &question);
    SaveResult unsoundChange() const;
    SaveResult runJob(SaveResult prepared, const SaveJob &job);
    QStringList changedOnDisk() const;
    void readDisk(const QString &folder);

    std::vector<std::unique_ptr<Entry>> m_entries;
    std::array<std::array<Entry *, QuestionsPerLevel>, Levels> m_slots{};
    std::array<std::array<Question, QuestionsPerLevel>, Levels> m_saved;
    std::array<QList<QuestionFileRead>, Levels> m_disk; // each file as last read or written
    QString m_location;
    Kind m_kind = Kind::Folder;
};

// "Рівень ІІ, питання 7" for messages.
QString slotName(BankSlot slot);

} // namespace zorelad

Q_DECLARE_METATYPE(zorelad::BankSlot)
