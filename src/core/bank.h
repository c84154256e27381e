#pragma once
// The question bank: the rules a question must meet before a pupil sees it,
// writing question files safely, and the one UTF-8 text a teacher edits the
// whole bank in (zorelad-export writes it, zorelad-import reads it back).

#include "questionfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zorelad {

inline constexpr int Levels = 3;

// What is wrong with a question, and where.
struct QuestionProblem {
    enum Kind {
        EmptyQuestion,    // line 1 is empty or blank
        EmptyOption,      // an option line is empty or blank
        SameOptions,      // an option repeats an earlier one
        BadAnswer,        // line 5 is not exactly "1", "2" or "3"
        NoWindows1251,    // a character windows-1251 cannot hold
        ControlCharacter, // a control character an editor would not leave
        TooWide,          // cut off at the right on screen (measured by widgets)
        TooTall,          // the question needs more lines than its box shows
    };
    Kind kind;
    int line;        // the question's line it concerns, 1 to 5
    QString message; // one translated sentence, without the line number
};

// Every problem of one question, in the order of its lines.
QList<QuestionProblem> checkQuestion(const Question &question);

// The first character of `text` that windows-1251 cannot hold, -1 if none.
// A character outside the basic plane counts as one, at its first half.
qsizetype firstNonWindows1251(const QString &text);

// "ʼ" (U+02BC) names a character for a message.
QString describeCharacter(const QString &text, qsizetype at);

// Replaces characters windows-1251 lacks by the plain equivalent it has
// (the modifier-letter apostrophe U+02BC by ’, the non-breaking hyphen by -);
// appends a note for each kind replaced to `notes`.
QString mapToWindows1251(const QString &text, QStringList *notes = nullptr);

// The bytes of a question file: the five lines in windows-1251, each ended
// by CR LF. Fails naming the line and the character windows-1251 lacks.
QByteArray encodeQuestionFile(const Question &question);

// Writes one question file safely: the bytes go to a temporary file in the
// same folder, which then replaces the file by a rename, keeping the old
// file's permissions. A file that cannot be written completely never
// replaces the old one. Fails with a sentence naming the file and reason.
void writeQuestionFile(const QString &path, const Question &question);

// Writes several question files; every file is written to its temporary
// first, and only when all are written are they renamed into place.
// `replaced` counts the files renamed into place, also when one fails.
struct QuestionFileWrite {
    QString path;
    Question question;
};
void writeQuestionFiles(const QList<QuestionFileWrite> &writes, int *replaced = nullptr);

// A problem or a note about the bank text, at a line of that text (1-based;
// 0 when it concerns the whole text).
struct TextRemark {
    int line;
    QString message;
};

// One question of the bank text.
struct BankQuestion {
    int level = 0;                     // 1 to 3
    int number = 0;                    // 1 to 24 within the level
    int lines[QuestionFileLines] = {}; // the text's line of each of its lines
    Question question;
};

// The bank text read: the questions, the levels it holds, what is wrong
// with it (when anything is, nothing of it may be written) and the notes on
// characters replaced by their windows-1251 equivalent.
struct BankText {
    QList<BankQuestion> questions;
    QList<int> levels;
    QList<TextRemark> problems;
    QList<TextRemark> notes;
};

// Reads the bank text: UTF-8 with or without a byte order mark, lines ended
// by CR LF or LF. A level starts with its heading line "[Рівень N]"; each
// question is a block of five lines (question, three options, the number of
// the right option) and blocks are separated by empty lines; lines starting
// with '#' are comments. Every question is checked; a level must hold
// exactly 24 questions and no question may be asked twice.
BankText parseBankText(const QByteArray &utf8);

// The bank text of whole levels (questions[0] is level `firstLevel`), with
// a comment explaining the format at its top.
QByteArray formatBankText(const QList<QList<Question>> &levels, int firstLevel = 1);

// The heading line of a level in the bank text.
QString levelHeading(int level);

} // namespace zorelad

namespace zorelad {

// The encoding a question file's bytes are in, as far as they tell.
enum class FileEncoding { Windows1251, Utf8, Utf8Bom, Utf16, Koi8u };

// Guesses the encoding of a question file: a byte order mark or NUL bytes
// mean UTF-16, valid UTF-8 with letters beyond ASCII means UTF-8, Cyrillic
// letters mostly in windows-1251's upper-case range (where KOI8-U keeps its
// lower case) mean KOI8-U, anything else windows-1251.
FileEncoding guessEncoding(const QByteArray &bytes);

// The question in a file's bytes, decoded from the encoding they are in,
// so that a file saved in the wrong encoding can be exported and imported
// back correctly.
Question decodeQuestion(const QByteArray &bytes);

} // namespace zorelad
