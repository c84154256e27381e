#pragma once
// The question file format: one windows-1251 text file per question. Line 1
// is the question, lines 2 to 4 the three options, line 5 the number of the
// right option ("1", "2" or "3" exactly). Later lines are ignored. Where the
// files lie is questionfolder.h's business.

#include "textencoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zorelad {

inline constexpr int Levels = 3;
inline constexpr int QuestionsPerLevel = 24;
inline constexpr int QuestionFileLines = 5;
inline constexpr int MaxLineLength = 4096;

// Collects the lines of a question file from a stream of its bytes: a line
// ends at CR LF, a lone LF or a lone CR, the text ends at the first NUL,
// every line is cut to MaxLineLength bytes and decoded from windows-1251.
// Only the first QuestionFileLines lines are kept, so a huge or damaged
// file costs no more memory than a good one.
class QuestionLines {
public:
    // Feeds bytes; returns false once no more input is wanted.
    bool feed(const char *data, qsizetype size);
    // Ends the text: the last line counts also without a line end.
    void finish();
    QStringList lines() const { return m_lines; }

private:
    bool endLine();

    QStringList m_lines;
    QByteArray m_line;
    bool m_afterCr = false;
    bool m_lineOpen = false;
    bool m_done = false;
};

// The lines of a whole file's bytes, as QuestionLines collects them.
QStringList splitQuestionText(const QByteArray &bytes);

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

// The question as the results journal names it: the right option's digit (0
// when the answer line names none) and four hex digits of a hash of the text,
// the options and the answer line, "2a41f". A question edited in any of them
// gets another fingerprint (but for one chance in 65 536).
inline constexpr int QuestionFingerprintChars = 5;
QString questionFingerprint(const Question &question);

// The question held by a file's lines (as QuestionLines collects them).
Question questionFromLines(const QStringList &lines);

// The question in a file's bytes that are in `encoding`: windows-1251 as the
// quiz reads it, any other as the text it really is.
Question decodeQuestion(const QByteArray &bytes, FileEncoding encoding);

// The bytes of a question file: the five lines in windows-1251, each ended
// by CR LF. Fails naming the line and the character windows-1251 lacks.
QByteArray encodeQuestionFile(const Question &question);

} // namespace zorelad
