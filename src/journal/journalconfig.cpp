#include "journalconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QSysInfo>

namespace zorelad {

namespace {

struct JournalMessages {
    Q_DECLARE_TR_FUNCTIONS(JournalMessages)
};

const QString Section = QStringLiteral("journal");
const QString MarksSection = QStringLiteral("marks");
const QStringList Keys = {QStringLiteral("folder"), QStringLiteral("host")};
const QStringList MarksKeys = {QStringLiteral("thresholds")};
constexpr qint64 MaxConfigBytes = 64 * 1024;

struct FileValues {
    bool hasFolder = false;
    bool hasHost = false;
    QString folder;
    QString host;
    QList<int> markThresholds; // empty: not set
};

// Eleven counts of right answers 0-24, each at least the one before.
QList<int> readThresholds(const QString &value)
{
    QList<int> thresholds;
    for (const QString &part : value.split(QLatin1Char(','))) {
        bool ok = false;
        const int count = part.trimmed().toInt(&ok);
        if (!ok || count < 0 || count > 24 || (!thresholds.isEmpty() && count < thresholds.last()))
            return {};
        thresholds.append(count);
    }
    return thresholds.size() == MarkThresholds ? thresholds : QList<int>();
}

int editDistance(const QString &a, const QString &b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            const bool same = a.at(i - 1).toLower() == b.at(j - 1).toLower();
            row[j] = qMin(qMin(row[j] + 1, row[j - 1] + 1), diagonal + (same ? 0 : 1));
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "unknown key "Folder"" with the nearest known name, when one is near.
QString unknown(const QString &what, const QString &name, const QStringList &known, const QString &pattern)
{
    QString nearest;
    int best = 3;
    for (const QString &k : known) {
        if (const int d = editDistance(name, k); d < best) {
            best = d;
            nearest = k;
        }
    }
    return nearest.isEmpty() ? what : JournalMessages::tr("%1; did you mean %2?").arg(what, pattern.arg(nearest));
}

// A value fit for a folder: absolute, and without characters that a folder
// named in this file should not have (control characters, ; , " \).
QString folderFault(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    for (const QChar c : folder) {
        if (c.category() == QChar::Other_Control || QStringLiteral(";,\"\\").contains(c))
            return JournalMessages::tr("folder \"%1\" holds the character %2, which a path should not have")
                .arg(folder,
                     c.unicode() < 0x20 ? QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
                                        : QString(c));
    }
    if (!folder.startsWith(QLatin1Char('/')))
        return JournalMessages::tr("folder \"%1\" is not an absolute path").arg(folder);
    return {};
}

FileValues readFile(const QString &path, bool machine, QStringList *problems)
{
    FileValues values;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return values;
    auto problem = [&](int line, const QString &what) {
        problems->append(line > 0 ? JournalMessages::tr("%1:%2: %3").arg(path).arg(line).arg(what)
                                  : JournalMessages::tr("%1: %2").arg(path, what));
    };
    // A FIFO or a device would hold the program up before its window shows.
    if (!info.isFile()) {
        problem(0, JournalMessages::tr("not a regular file; ignored"));
        return values;
    }
    QFile file(path);
    if (info.size() > MaxConfigBytes || !file.open(QIODevice::ReadOnly)) {
        problem(0, JournalMessages::tr("cannot be read; ignored"));
        return values;
    }
    const QByteArray bytes = file.read(MaxConfigBytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError() || bytes.contains('\0')) {
        problem(0, JournalMessages::tr("not a text file (UTF-8); ignored"));
        return values;
    }
    QString section;
    int number = 0;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++number;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const QString name = line.endsWith(QLatin1Char(']')) ? line.mid(1, line.size() - 2).trimmed() : QString();
            section = name == Section || name == MarksSection ? name : QString();
            if (section.isEmpty())
                problem(number,
                        unknown(JournalMessages::tr("unknown section %1; ignored").arg(line), name,
                                {Section, MarksSection}, QStringLiteral("[%1]")));
            continue;
        }
        if (section.isEmpty())
            continue; // already named with its section
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals).trimmed();
        QString value = line.mid(equals + 1).trimmed();
        if (equals < 0) {
            problem(number, JournalMessages::tr("not a setting (key=value); ignored"));
            continue;
        }
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        if (section == MarksSection) {
            if (key != MarksKeys[0])
                problem(number,
                        unknown(JournalMessages::tr("unknown key %1; ignored").arg(key), key, MarksKeys,
                                QStringLiteral("%1")));
            else if ((values.markThresholds = readThresholds(value)).isEmpty())
                problem(number,
                        JournalMessages::tr("thresholds wants 11 counts of right answers from 0 to 24, each "
                                            "at least the one before, as 3,5,7,9,11,13,15,17,19,21,23; ignored"));
        } else if (key == Keys[0]) {
            if (const QString fault = folderFault(value); !fault.isEmpty()) {
                problem(number, JournalMessages::tr("%1; ignored").arg(fault));
                continue;
            }
            values.hasFolder = true;
            values.folder = value;
        } else if (key == Keys[1]) {
            // The host names the computer's file; a user may not take another's.
            if (!machine) {
                problem(number, JournalMessages::tr("host is set in the computer's settings only; ignored"));
                continue;
            }
            values.hasHost = true;
            values.host = value;
        } else {
            problem(number,
                    unknown(JournalMessages::tr("unknown key %1; ignored").arg(key), key, Keys, QStringLiteral("%1")));
        }
    }
    return values;
}

} // namespace

ConfigFiles defaultConfigFiles()
{
    // For tests and special set-ups: one settings file of one's own instead
    // of the machine's and the user's.
    if (qEnvironmentVariableIsSet("ZORELAD_CONFIG"))
        return {qEnvironmentVariable("ZORELAD_CONFIG"), QString()};
    return {QStringLiteral("/etc/zorelad/zorelad.conf"),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                + QStringLiteral("/zorelad/zorelad.conf")};
}

JournalConfig readJournalConfig(const ConfigFiles &files, QStringList *problems)
{
    const FileValues machine = readFile(files.machine, true, problems);
    const FileValues user = readFile(files.user, false, problems);
    JournalConfig config;
    config.folder = user.hasFolder ? user.folder : machine.folder;
    config.host = machine.host;
    if (!user.markThresholds.isEmpty())
        config.markThresholds = user.markThresholds;
    else if (!machine.markThresholds.isEmpty())
        config.markThresholds = machine.markThresholds;
    return config;
}

QList<int> defaultMarkThresholds() { return {3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}; }

int twelvePointMark(int correct, const QList<int> &thresholds)
{
    int mark = 1;
    for (const int least : thresholds)
        mark += correct >= least;
    return mark;
}

QString journalFileName(const QString &name)
{
    QString out = name;
    for (QChar &c : out) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.')))
            c = QLatin1Char('_');
    }
    if (out.isEmpty() || out.startsWith(QLatin1Char('.')))
        out.prepend(QLatin1String("x"));
    return out;
}

QString journalHostName(const JournalConfig &config)
{
    return journalFileName(config.host.isEmpty() ? QSysInfo::machineHostName() : config.host);
}

} // namespace zorelad
