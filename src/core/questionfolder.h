#pragma once
// The question folder: the one place that knows where question files lie
// (TEXT/1/1.z .. TEXT/3/24.z, each name looked up without regard to case),
// how the quiz and the teachers' tools read them, and how whole levels are
// replaced.
//
// A level is replaced as a folder: its 24 files are written and synced in a
// new hidden folder beside it (.zorelad-new-L-XXXXXX), which is then
// exchanged with the level's folder in one renameat2(RENAME_EXCHANGE); the
// old folder is removed afterwards. A write killed at any moment leaves
// every level wholly old or wholly new. Where the file system cannot
// exchange (some network shares), the old folder is first renamed aside
// (.zorelad-old-L-XXXXXX) and the new one renamed into place; a kill
// between the two renames leaves the level missing until the next write or
// cleanup puts the old folder back. Leftovers of interrupted writes are
// removed by the next write. Writers of one Text folder take turns (flock).

#include "questionfile.h"
#include "safewrite.h"

#include <QList>
#include <QString>

namespace zorelad {

// The quiz's question file: question `number` of `level` below the program
// directory (which ends in '/').
QString questionFilePath(const QString &programDir, int level, int number);

// Reads a question file as the quiz does. Fails with "Cannot open file
// "PATH". REASON" where PATH is absolute and REASON is the system's.
QStringList readQuestionFile(const QString &path);
Question readQuestion(const QString &path);

// The folder of a level and the file of a question below a Text folder.
QString levelFolderPath(const QString &textDir, int level);
QString questionPath(const QString &textDir, int level, int number);

// A folder a teacher names: a Text folder (holding 1, 2 and 3) stands for
// all levels; a level's own folder (named 1, 2 or 3, holding no level
// folders) for that level, below its parent.
struct QuestionFolder {
    QString textDir;
    QList<int> levels;
    bool levelFolder = false;
};
QuestionFolder questionFolderOf(const QString &folder);

// A question file a teacher's tool reads is at most this big.
inline constexpr qint64 MaxQuestionFileBytes = 64 * 1024;

// A question file as a teacher's tool reads it: never waiting on a pipe,
// never reading more than MaxQuestionFileBytes, with its encoding found.
struct QuestionFileRead {
    enum Status { Read, Missing, NotAFile, Unreadable, TooLarge };
    QString path;
    Status status = Missing;
    QByteArray bytes; // as on disk, when read
    FileEncoding encoding = FileEncoding::Windows1251;
    int lineCount = 0; // the lines the quiz finds, at most five
    Question question; // decoded from the encoding it is really in
    QString problem;   // what is wrong with the file itself, without its path; empty when nothing

    bool isRead() const { return status == Read; }
};
QuestionFileRead inspectQuestionFile(const QString &path);

// The 24 files of a level below a Text folder.
QList<QuestionFileRead> readLevel(const QString &textDir, int level);

// The new content of a level: 24 files' bytes, in order. A null entry keeps
// the file that is there (or its absence).
struct LevelFiles {
    int level = 0;
    QList<QByteArray> files;
};

// Replaces the levels below `textDir` (created when missing) as described
// above. Every level is checked and written aside before any is put in
// place: a question file that is not a regular file, a level that is not a
// folder or holds a folder, a failed write, fsync or close fails before
// anything changes. Fails with a sentence naming the file and the reason,
// and which levels were replaced when an exchange itself failed.
void writeLevels(const QString &textDir, const QList<LevelFiles> &levels, const DeviceFilter &filter = {});

} // namespace zorelad
