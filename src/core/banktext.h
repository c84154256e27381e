#pragma once
// The bank text: the whole question bank, or some of its levels, as one
// UTF-8 text a teacher edits in any text editor. zorelad-export writes it,
// zorelad-import and the editor read it back.

#include "questionfile.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

namespace zorelad {

// A bank text of three levels is about 15 KB; anything past this is not one.
inline constexpr qint64 MaxBankTextBytes = 4 * 1024 * 1024;

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

// Reads the bank text: UTF-8 with or without a byte order mark, or as
// Notepad saves it otherwise (windows-1251, or UTF-16 with its mark; a note
// says which), lines ended by CR LF or LF. A level starts with its heading line "[Рівень N]"; each
// question is a block of five lines (question, three options, the number of
// the right option) and blocks are separated by empty lines; lines starting
// with '#' are comments, and a question's line that would look like a
// comment or a heading is written with a '\' before it. Every question is
// checked; a level must hold exactly 24 questions and no question may be
// asked twice.
BankText parseBankText(const QByteArray &bytes);

// The bank text of whole levels (levels[0] is level `firstLevel`), with a
// comment explaining the format at its top. parseBankText reads back every
// question exactly.
QByteArray formatBankText(const QList<QList<Question>> &levels, int firstLevel = 1);

// The heading line of a level in the bank text.
QString levelHeading(int level);

// Reads a bank text from `in`, at most MaxBankTextBytes; returns an empty
// text, or why it was refused (`name` names the input).
QString readBankText(QIODevice &in, const QString &name, QByteArray *text);

} // namespace zorelad
