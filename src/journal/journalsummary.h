#pragma once
// The reports a teacher acts on, each built in one pass over the records
// without keeping them: a line per pupil and level under each class, and
// every question of a level as it was asked, with how the pupils answered it.

#include "journalreport.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <vector>

namespace zorelad {

// ---- pupils ----

struct PupilLevel {
    QString name;               // as first written
    QStringList otherSpellings; // the same pupil written otherwise (word order, spaces, case)
    int level = 0;
    int best = 0; // most right answers in one try
    int tries = 0;
    QDateTime last;
};

struct ClassPupils {
    ClassSummary summary;
    QDateTime newest;         // the class's latest record: its latest lesson
    QList<PupilLevel> pupils; // by name, then level
};

class PupilsReport {
public:
    void add(const JournalRecord &record);
    // The classes, the one with the newest lesson first.
    QList<ClassPupils> classes() const;

private:
    struct Class {
        ClassPupils pupils;
        // Each pupil's lines by level: indexes in pupils.pupils, -1 for none.
        QHash<QString, std::array<qsizetype, 3>> linesOf;
        long long correct = 0;
    };
    QHash<QString, QString> m_classKeys, m_pupilKeys; // as typed → as compared
    QHash<QString, Class> m_classes;
};

// ---- questions ----

// How the pupils answered one question of a level as asked.
struct QuestionLine {
    int number = 0;      // 1..24, in the order asked
    QString fingerprint; // questionfile.h
    QString text;        // from the bank; null when the bank has it no more
    int rightOption = 0; // 0: the answer line named none
    int answered = 0;
    int chosen[3] = {0, 0, 0};
    bool separates = false;    // enough answers (10) for the upper and lower groups
    double discrimination = 0; // p(upper 27 %) - p(lower 27 %) by total right answers
    bool check = false;        // "check the key or the wording"
    double shareRight() const { return answered && rightOption ? double(chosen[rightOption - 1]) / answered : 0; }
};

struct QuestionGroup {
    int level = 0;
    QString questions; // the 24 fingerprints run together
    int records = 0;
    QDateTime newest;
    QList<QuestionLine> lines;
};

// The question texts of a bank (a Text folder) by level and fingerprint.
using BankTexts = QHash<int, QHash<QString, QString>>;
BankTexts bankTexts(const QString &textDir);

// A short name of a level's questions as asked: 8 hex digits.
QString levelFingerprint(const QString &questions);

class QuestionsReport {
public:
    // Records without answers (from earlier versions) are left out.
    void add(const JournalRecord &record);
    // Each level as asked, the one answered last first.
    QList<QuestionGroup> groups(const BankTexts &bank) const;

private:
    struct Group {
        int level = 0;
        QString questions;
        QDateTime newest;
        std::array<std::array<int, 3>, 24> chosen{};
        // One entry per record: its right answers in the top byte, which
        // questions it answered right in the low 24 bits.
        std::vector<quint32> results;
    };
    QHash<QString, Group> m_groups; // level and questions → group
};

// ---- output ----

QString pupilsText(const QList<ClassPupils> &classes, const QList<int> &markThresholds);
QByteArray pupilsCsv(const QList<ClassPupils> &classes, const QList<int> &markThresholds);
QString questionsText(const QList<QuestionGroup> &groups);
QByteArray questionsCsv(const QList<QuestionGroup> &groups);

// An HTML page of the given sections; `refresh` makes it reload itself every
// 10 seconds.
QString pupilsHtml(const QList<ClassPupils> &classes, const QList<int> &markThresholds);
QString questionsHtml(const QList<QuestionGroup> &groups);
// What kept records from the page (a folder not there, damaged lines, a
// choice that left nothing), at its top.
QString notesHtml(const QStringList &notes);
QString resultsPage(const QString &title, const QString &sections, bool refresh);

} // namespace zorelad
