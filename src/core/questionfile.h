#pragma once
// Question files: one windows-1251 text file per question. Line 1 is the
// question, lines 2 to 4 the three options, line 5 the number of the right
// option ("1", "2" or "3" exactly). Later lines are ignored.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zorelad {

inline constexpr int QuestionsPerLevel = 24;
inline constexpr int QuestionFileLines = 5;
inline constexpr int MaxLineLength = 4096;

// The path of question `number` of `level` below the program directory
// (which ends in '/'), each component looked up without regard to case.
QString questionFilePath(const QString &programDir, int level, int number);

// Splits file bytes into lines: a line ends at CR LF, a lone LF or a lone CR,
// the text ends at the first NUL, every line is cut to MaxLineLength
// characters and decoded from windows-1251. Only the lines the program uses
// (the first QuestionFileLines) are returned.
QStringList splitQuestionText(const QByteArray &bytes);

// Bytes of windows-1251, the question files' code page, as text.
QString decodeWindows1251(const QByteArray &bytes);

// Reads a question file. Fails with "Cannot open file "PATH". REASON" where
// PATH is absolute and REASON is the system's.
QStringList readQuestionFile(const QString &path);

// Line k (from 1) of a file's lines; a line beyond the last reads as empty.
QString questionLine(const QStringList &lines, int k);

// Whether `answer` (line 5) names option k: exactly "1", "2" or "3".
bool answerIs(const QString &answer, int k);

// One question as read from its file: the question text, the three options
// and the answer line exactly as written (it names an option only when it is
// exactly "1", "2" or "3"). Missing lines are empty.
struct Question {
    QString text;
    QString options[3];
    QString answer;

    // The option the answer line names, 1 to 3, or 0 when it names none.
    int rightOption() const;
    bool operator==(const Question &other) const;
    bool operator!=(const Question &other) const { return !(*this == other); }
};

// The question held by a file's lines (as readQuestionFile returns them).
Question questionFromLines(const QStringList &lines);

// Reads a question file into a Question; fails as readQuestionFile does.
Question readQuestion(const QString &path);

} // namespace zorelad
