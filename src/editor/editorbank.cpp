#include "editorbank.h"

#include "failure.h"
#include "paths.h"
#include "questionfit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

QString questionPath(const QString &folder, BankSlot slot)
{
    return resolvePath(folder + QStringLiteral("/%1/%2.z").arg(slot.level).arg(slot.number));
}

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
        if (!QFileInfo(resolvePath(location + QStringLiteral("/1"))).isDir())
            throw Failure(tr("The folder %1 holds no question levels (folders 1, 2 and 3).").arg(location));
        for (int level = 1; level <= Levels; ++level) {
            for (int number = 1; number <= QuestionsPerLevel; ++number) {
                // A missing file is an empty question the teacher can fill in.
                const QString path = questionPath(location, {level, number});
                if (QFileInfo::exists(path))
                    read[level - 1][number - 1] = readQuestion(path);
            }
        }
    } else {
        QFile file(location);
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(tr("Cannot open %1: %2").arg(location, file.errorString()));
        const BankText text = parseBankText(file.readAll());
        if (!text.problems.isEmpty())
            throw Failure(remarksText(text.problems));
        if (text.levels.size() != Levels)
            throw Failure(
                tr("%1 does not hold all three levels; open a Text folder and import it there.").arg(location));
        for (const BankQuestion &q : text.questions)
            read[q.level - 1][q.number - 1] = q.question;
        kind = Kind::Text;
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

const Question &EditorBank::question(BankSlot slot) const { return entry(slot)->question; }

QList<TextRemark> questionProblems(const Question &question)
{
    QList<TextRemark> problems;
    for (const QuestionProblem &problem : checkQuestion(question))
        problems.append({problem.line, problem.message});
    const TextFit text = questionFit(question.text);
    if (text.tooWide > 0)
        problems.append({1, EditorBank::tr("a word is %n px too wide for the question box", nullptr, text.tooWide)});
    if (text.tooTall > 0)
        problems.append(
            {1,
             EditorBank::tr("the question is %n px too tall for its box: its end is cut off", nullptr, text.tooTall)});
    for (int k = 0; k < 3; ++k) {
        if (const TextFit option = optionFit(question.options[k]); option.tooWide > 0)
            problems.append({k + 2,
                             EditorBank::tr("option %1 is %n px too wide: its end is cut off", nullptr, option.tooWide)
                                 .arg(k + 1)});
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const TextRemark &a, const TextRemark &b) { return a.line < b.line; });
    return problems;
}

QList<TextRemark> EditorBank::problems(BankSlot slot) const { return questionProblems(question(slot)); }

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

EditorBank::SaveResult EditorBank::save()
{
    if (SaveResult unsound = unsoundChange(); unsound.outcome != SaveResult::Saved)
        return unsound;
    if (m_kind == Kind::Folder)
        return writeFolder(m_location, false);
    QSaveFile file(m_location);
    if (!file.open(QIODevice::WriteOnly))
        return {SaveResult::NoPermission, tr("Cannot write %1: %2").arg(m_location, file.errorString())};
    file.write(exportText());
    if (!file.commit())
        return {SaveResult::Failed, tr("Cannot write %1: %2").arg(m_location, file.errorString())};
    markSaved(m_location, Kind::Text);
    return {};
}

EditorBank::SaveResult EditorBank::saveCopy(const QString &folder)
{
    if (SaveResult unsound = unsoundChange(); unsound.outcome != SaveResult::Saved)
        return unsound;
    for (int level = 1; level <= Levels; ++level)
        QDir().mkpath(folder + QStringLiteral("/%1").arg(level));
    return writeFolder(QFileInfo(folder).absoluteFilePath(), true);
}

EditorBank::SaveResult EditorBank::writeFolder(const QString &folder, bool all)
{
    QList<QuestionFileWrite> writes;
    for (int level = 1; level <= Levels; ++level) {
        bool any = false;
        for (int number = 1; number <= QuestionsPerLevel; ++number) {
            if (all || isModified({level, number})) {
                writes.append({questionPath(folder, {level, number}), question({level, number})});
                any = true;
            }
        }
        // Asked before anything is written: can this folder take a new file?
        const QString levelFolder = resolvePath(folder + QStringLiteral("/%1").arg(level));
        QTemporaryFile probe(levelFolder + QStringLiteral("/.zorelad-editor-XXXXXX"));
        if (any && !probe.open())
            return {SaveResult::NoPermission,
                    tr("You may not write to the folder %1 (%2).").arg(levelFolder, probe.errorString())};
    }
    try {
        writeQuestionFiles(writes);
    } catch (const Failure &failure) {
        return {SaveResult::Failed, failure.text()};
    }
    markSaved(folder, Kind::Folder);
    return {};
}

void EditorBank::markSaved(const QString &location, Kind kind)
{
    for (int level = 1; level <= Levels; ++level) {
        for (int number = 1; number <= QuestionsPerLevel; ++number)
            m_saved[level - 1][number - 1] = question({level, number});
    }
    m_location = location;
    m_kind = kind;
    emit modifiedChanged();
}

} // namespace zorelad
