#include "editorbank.h"

#include "failure.h"
#include "paths.h"
#include "questionfit.h"
#include "safewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>

namespace zorelad {

QString slotName(BankSlot slot)
{
    static const char *const numerals[] = {"І", "ІІ", "ІІІ"};
    return EditorBank::tr("Level %1, question %2").arg(QString::fromUtf8(numerals[slot.level - 1])).arg(slot.number);
}

struct EditorBank::Entry {
    Question question;
    QUndoStack history;
};

// One change of a question. It holds the question's entry, not its place,
// so it stays right when the question is moved.
class EditorBank::EditCommand : public QUndoCommand {
public:
    EditCommand(EditorBank *bank, Entry *entry, const Question &before, const Question &after, int line)
        : m_bank(bank), m_entry(entry), m_before(before), m_after(after), m_line(line)
    {}
    void undo() override { m_bank->apply(m_entry, m_before); }
    void redo() override { m_bank->apply(m_entry, m_after); }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        // Typing in one line is one step; choosing the right option and
        // taking a whole question are steps of their own.
        const auto *next = static_cast<const EditCommand *>(other);
        if (next->m_entry != m_entry || next->m_line != m_line || m_line < 1 || m_line > 4)
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    EditorBank *m_bank;
    Entry *m_entry;
    Question m_before;
    Question m_after;
    int m_line;
};

EditorBank::EditorBank(QObject *parent) : QObject(parent)
{
    for (auto &level : m_slots) {
        for (auto &slot : level) {
            m_entries.push_back(std::make_unique<Entry>());
            slot = m_entries.back().get();
        }
    }
}

EditorBank::~EditorBank() = default;

EditorBank::Entry *&EditorBank::entry(BankSlot slot) { return m_slots.at(slot.level - 1).at(slot.number - 1); }

const EditorBank::Entry *EditorBank::entry(BankSlot slot) const
{
    return m_slots.at(slot.level - 1).at(slot.number - 1);
}

BankSlot EditorBank::slotOf(const Entry *wanted) const
{
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            if (entry({level, number}) == wanted)
                return {level, number};
        }
    }
    return {};
}

namespace {

QString remarksText(const QList<TextRemark> &remarks)
{
    QStringList lines;
    for (const TextRemark &remark : remarks)
        lines << (remark.line > 0 ? EditorBank::tr("line %1: %2").arg(remark.line).arg(remark.message)
                                  : remark.message);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void EditorBank::open(const QString &location)
{
    std::array<std::array<Question, QuestionsPerLevel>, Levels> read;
    Kind kind = Kind::Folder;
    const QFileInfo info(location);
    if (info.isDir()) {
        if (!QFileInfo(levelFolderPath(location, 1)).isDir())
            throw Failure(tr("The folder %1 holds no question levels (folders 1, 2 and 3).").arg(location));
        readDisk(location);
        // A missing or unreadable file is an empty question the teacher can
        // fill in; its note says what was wrong.
        for (int level = 1; level <= Levels; ++level) {
            for (int number = 1; number <= QuestionsPerLevel; ++number)
                read[level - 1][number - 1] = m_disk[level - 1][number - 1].question;
        }
    } else {
        QFile file(location);
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(tr("Cannot open %1: %2").arg(location, file.errorString()));
        QByteArray bytes;
        if (const QString refused = readBankText(file, location, &bytes); !refused.isEmpty())
            throw Failure(refused);
        const BankText text = parseBankText(bytes);
        if (!text.problems.isEmpty())
            throw Failure(remarksText(text.problems));
        if (text.levels.size() != Levels)
            throw Failure(
                tr("%1 does not hold all three levels; open a Text folder and import it there.").arg(location));
        for (const BankQuestion &q : text.questions)
            read[q.level - 1][q.number - 1] = q.question;
        kind = Kind::Text;
        for (auto &level : m_disk)
            level.clear();
    }
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            Entry *&e = entry({level, number});
            e->question = read[level - 1][number - 1];
            e->history.clear();
        }
    }
    m_saved = read;
    m_location = QFileInfo(location).absoluteFilePath();
    m_kind = kind;
    emit opened();
    emit modifiedChanged();
}

void EditorBank::readDisk(const QString &folder)
{
    for (int level = 1; level <= Levels; ++level)
        m_disk[level - 1] = readLevel(folder, level);
}

QString EditorBank::fileNote(BankSlot slot) const
{
    const QList<QuestionFileRead> &level = m_disk[slot.level - 1];
    if (level.isEmpty())
        return {};
    const QuestionFileRead &file = level[slot.number - 1];
    if (file.problem.isEmpty())
        return {};
    QString note = QDir(m_location).relativeFilePath(file.path) + QStringLiteral(": ") + file.problem;
    if (file.isRead() && file.encoding != FileEncoding::Windows1251)
        note += tr("; change and save the question to write it in windows-1251");
    return note;
}

const Question &EditorBank::question(BankSlot slot) const { return entry(slot)->question; }

QList<TextRemark> EditorBank::problems(BankSlot slot) const
{
    QList<QuestionProblem> found = checkQuestion(question(slot)) + checkQuestionFit(question(slot));
    std::stable_sort(found.begin(), found.end(),
                     [](const QuestionProblem &a, const QuestionProblem &b) { return a.line < b.line; });
    QList<TextRemark> problems;
    for (const QuestionProblem &problem : found)
        problems.append({problem.line, problem.message});
    return problems;
}

bool EditorBank::isModified(BankSlot slot) const { return question(slot) != m_saved[slot.level - 1][slot.number - 1]; }

bool EditorBank::isModified() const
{
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            if (isModified({level, number}))
                return true;
        }
    }
    return false;
}

QUndoStack *EditorBank::history(BankSlot slot) const { return &const_cast<Entry *>(entry(slot))->history; }

void EditorBank::edit(BankSlot slot, const Question &question, int line)
{
    Entry *e = entry(slot);
    if (e->question == question)
        return;
    e->history.push(new EditCommand(this, e, e->question, question, line));
}

void EditorBank::apply(Entry *e, const Question &question)
{
    e->question = question;
    emit questionChanged(slotOf(e));
    emit modifiedChanged();
}

void EditorBank::swap(BankSlot a, BankSlot b)
{
    if (a == b)
        return;
    std::swap(entry(a), entry(b));
    emit questionChanged(a);
    emit questionChanged(b);
    emit modifiedChanged();
}

void EditorBank::move(BankSlot from, int toNumber)
{
    const int step = toNumber > from.number ? 1 : -1;
    for (int n = from.number; n != toNumber; n += step)
        swap({from.level, n}, {from.level, n + step});
}

QByteArray EditorBank::exportText(int level) const
{
    QList<QList<Question>> levels;
    for (int l = level ? level : 1; l <= (level ? level : Levels); ++l) {
        QList<Question> questions;
        for (int number = 1; number <= QuestionsPerLevel; ++number)
            questions << question({l, number});
        levels << questions;
    }
    return formatBankText(levels, level ? level : 1);
}

QList<TextRemark> EditorBank::importText(const QByteArray &utf8, bool *taken)
{
    const BankText text = parseBankText(utf8);
    *taken = text.problems.isEmpty();
    if (!*taken)
        return text.problems;
    for (const BankQuestion &q : text.questions)
        edit({q.level, q.number}, q.question, 0);
    return text.notes;
}

EditorBank::SaveResult EditorBank::unsoundChange() const
{
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            const BankSlot slot{level, number};
            if (!isModified(slot))
                continue;
            const QList<TextRemark> found = problems(slot);
            if (!found.isEmpty())
                return {SaveResult::Unsound, tr("%1: %2").arg(slotName(slot), found.first().message)};
        }
    }
    return {};
}

QStringList EditorBank::changedOnDisk() const
{
    QStringList changed;
    for (int level = 1; level <= Levels; ++level) {
        const QList<QuestionFileRead> now = readLevel(m_location, level);
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            const QuestionFileRead &before = m_disk[level - 1].value(number - 1);
            const QuestionFileRead &after = now[number - 1];
            // A file this account may no longer read is no news of a change.
            if (after.status != QuestionFileRead::Unreadable
                && (before.status != after.status || before.bytes != after.bytes))
                changed << slotName({level, number});
        }
    }
    return changed;
}

EditorBank::SaveResult EditorBank::prepareSave(bool overwrite, SaveJob *job) const
{
    if (SaveResult unsound = unsoundChange(); unsound.outcome != SaveResult::Saved)
        return unsound;
    job->location = m_location;
    job->kind = m_kind;
    job->levels.clear();
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number)
            job->questions[level - 1][number - 1] = question({level, number});
    }
    if (m_kind == Kind::Text) {
        job->text = exportText();
        return {};
    }
    if (!overwrite) {
        if (const QStringList changed = changedOnDisk(); !changed.isEmpty())
            return {SaveResult::ChangedOnDisk,
                    tr("These questions were changed on disk since they were opened here: %1.")
                        .arg(changed.join(QStringLiteral(", ")))};
    }
    for (int level = 1; level <= Levels; ++level) {
        LevelFiles files{level, QList<QByteArray>(QuestionsPerLevel)};
        bool any = false;
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            if (isModified({level, number})) {
                files.files[number - 1] = encodeQuestionFile(question({level, number}));
                any = true;
            }
        }
        if (any)
            job->levels << files;
    }
    // Asked before anything is written: may a new folder be made beside
    // the levels?
    QTemporaryFile probe(m_location + QStringLiteral("/.zorelad-editor-XXXXXX"));
    if (!job->levels.isEmpty() && !probe.open())
        return {SaveResult::NoPermission,
                tr("You may not write to the folder %1 (%2).").arg(m_location, probe.errorString())};
    return {};
}

EditorBank::SaveResult EditorBank::prepareCopy(const QString &folder, SaveJob *job) const
{
    if (SaveResult unsound = unsoundChange(); unsound.outcome != SaveResult::Saved)
        return unsound;
    job->location = QFileInfo(folder).absoluteFilePath();
    job->kind = Kind::Folder;
    job->levels.clear();
    for (int level = 1; level <= Levels; ++level) {
        LevelFiles files{level, {}};
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            job->questions[level - 1][number - 1] = question({level, number});
            files.files << encodeQuestionFile(question({level, number}));
        }
        job->levels << files;
    }
    return {};
}

EditorBank::SaveResult EditorBank::writeJob(const SaveJob &job)
{
    try {
        if (job.kind == Kind::Text) {
            if (const QString failure = writeOutputFile(job.location, job.text); !failure.isEmpty())
                return {SaveResult::Failed, failure};
        } else if (!job.levels.isEmpty()) {
            writeLevels(job.location, job.levels);
        }
    } catch (const Failure &failure) {
        return {SaveResult::Failed, failure.text()};
    }
    return {};
}

void EditorBank::finishSave(const SaveJob &job)
{
    m_saved = job.questions;
    m_location = job.location;
    m_kind = job.kind;
    if (m_kind == Kind::Folder)
        readDisk(m_location);
    emit modifiedChanged();
}

EditorBank::SaveResult EditorBank::runJob(SaveResult prepared, const SaveJob &job)
{
    if (prepared.outcome == SaveResult::Saved)
        prepared = writeJob(job);
    if (prepared.outcome == SaveResult::Saved)
        finishSave(job);
    return prepared;
}

EditorBank::SaveResult EditorBank::save(bool overwrite)
{
    SaveJob job;
    const SaveResult prepared = prepareSave(overwrite, &job);
    return runJob(prepared, job);
}

EditorBank::SaveResult EditorBank::saveCopy(const QString &folder)
{
    SaveJob job;
    const SaveResult prepared = prepareCopy(folder, &job);
    return runJob(prepared, job);
}

} // namespace zorelad
