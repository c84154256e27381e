// A year of a busy computer lab's journal, for measuring the reports:
// HOSTS files of RECORDS records in all, every one with its answers, from
// classes 5-А to 11-В over a school year. With BANK (a Text folder), the
// levels are that bank's questions, so that reports show their texts. The
// fifth question of every level misleads: who does not know it chooses the
// same wrong option.
// Usage: zorelad-bench-journalyear FOLDER [HOSTS [RECORDS [BANK]]]

#include "journalrecord.h"
#include "questionfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

using namespace zorelad;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    const QDir folder(args[1]);
    const int hosts = args.size() > 2 ? args[2].toInt() : 30;
    const int records = args.size() > 3 ? args[3].toInt() : 390000;
    QDir().mkpath(folder.path());
    QRandomGenerator random(2026);
    // Each level as asked: 24 fingerprints with their right options.
    QString questions[3];
    for (int level = 1; level <= 3; ++level) {
        if (args.size() > 4) {
            for (const QuestionFileRead &file : readLevel(args[4], level))
                questions[level - 1] += questionFingerprint(file.question);
            continue;
        }
        for (int i = 0; i < QuestionsInLevel; ++i)
            questions[level - 1] +=
                QStringLiteral("%1%2").arg(1 + random.bounded(3)).arg(random.bounded(65536), 4, 16, QLatin1Char('0'));
    }
    const QStringList classes = {QStringLiteral("5-А"),  QStringLiteral("5-Б"),  QStringLiteral("6-А"),
                                 QStringLiteral("6-Б"),  QStringLiteral("7-А"),  QStringLiteral("7-Б"),
                                 QStringLiteral("8-А"),  QStringLiteral("8-Б"),  QStringLiteral("9-А"),
                                 QStringLiteral("9-Б"),  QStringLiteral("10-А"), QStringLiteral("10-Б"),
                                 QStringLiteral("11-А"), QStringLiteral("11-Б"), QStringLiteral("11-В")};
    const QStringList firstNames = {QStringLiteral("Оля"),    QStringLiteral("Петро"), QStringLiteral("Марія"),
                                    QStringLiteral("Іван"),   QStringLiteral("Софія"), QStringLiteral("Андрій"),
                                    QStringLiteral("Дарина"), QStringLiteral("Тарас"), QStringLiteral("Ірина"),
                                    QStringLiteral("Богдан")};
    const QStringList surnames = {QStringLiteral("Коваль"),  QStringLiteral("Шевчук"),   QStringLiteral("Бондар"),
                                  QStringLiteral("Мельник"), QStringLiteral("Ткаченко"), QStringLiteral("Кравець"),
                                  QStringLiteral("Олійник"), QStringLiteral("Гнатюк"),   QStringLiteral("Лисенко"),
                                  QStringLiteral("Савчук")};
    const QDateTime start(QDate(2025, 9, 1), QTime(8, 30), Qt::OffsetFromUTC, 3 * 3600);
    for (int h = 0; h < hosts; ++h) {
        const QString host = QStringLiteral("lab-%1").arg(h + 1, 2, 10, QLatin1Char('0'));
        QByteArray data = journalFileStart();
        const int count = records / hosts + (h < records % hosts);
        for (int k = 0; k < count; ++k) {
            JournalRecord r;
            // Spread over 270 school days, in order of time within the file.
            r.time = start.addSecs(qint64(k) * 270 * 24 * 3600 / count);
            r.host = host;
            const int pupil = random.bounded(30);
            r.pupilClass = classes[random.bounded(classes.size())];
            const int classIndex = int(classes.indexOf(r.pupilClass));
            r.name = firstNames[pupil % 10] + QLatin1Char(' ') + surnames[(pupil / 10 * 3 + classIndex) % 10];
            r.level = 1 + random.bounded(3);
            const QString &asked = questions[r.level - 1];
            const int ability = 30 + pupil * 2; // per cent of questions known
            for (int i = 0; i < QuestionsInLevel; ++i) {
                const int right = asked.at(i * QuestionFingerprintChars).unicode() - '0';
                const int wrong = i == 4 ? 1 + right % 3 : 1 + random.bounded(3);
                const int chosen = int(random.bounded(100)) < ability - 20 * (i == 4) ? right : wrong;
                r.answers += QString::number(chosen);
                r.correct += chosen == right;
            }
            r.questions = asked;
            r.grade = r.correct >= 20 ? QStringLiteral("відмінно")
                : r.correct >= 14     ? QStringLiteral("Добре")
                                      : QStringLiteral("незадовільно");
            r.version = QStringLiteral("1.0.0");
            data += journalLine(r);
        }
        QFile file(folder.filePath(host + QStringLiteral("-pupil.csv")));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return 1;
    }
    return 0;
}
