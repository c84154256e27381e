#include "privatecups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>
#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr QFileDevice::Permissions Mode755 = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
    | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

const char *const Variables[] = {"CUPS_SERVER", "CUPS_SERVERROOT", "HOME", "PRINTER", "LPDEST"};

// Copies the job's file, or standard input, to the device unchanged.
const char PassThroughFilter[] = "#!/bin/sh\n"
                                 "if [ -n \"$6\" ]; then exec cat \"$6\"; fi\n"
                                 "exec cat\n";

QString findTool(const QString &name)
{
    for (const char *dir : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/"}) {
        const QString path = QLatin1String(dir) + name;
        if (QFileInfo(path).isExecutable())
            return path;
    }
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? name : found;
}

QByteArray pageSizeEntries(const QString &pageSize)
{
    const bool letter = pageSize.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0;
    const QByteArray name = letter ? "Letter" : "A4";
    const QByteArray dims = letter ? "612 792" : "595 842";
    return "*OpenUI *PageSize/Page Size: PickOne\n"
           "*OrderDependency: 10 AnySetup *PageSize\n"
           "*DefaultPageSize: "
        + name
        + "\n"
          "*PageSize "
        + name + "/" + name + ": \"<</PageSize[" + dims
        + "]/ImagingBBox null>>setpagedevice\"\n"
          "*CloseUI: *PageSize\n"
          "*OpenUI *PageRegion: PickOne\n"
          "*OrderDependency: 10 AnySetup *PageRegion\n"
          "*DefaultPageRegion: "
        + name
        + "\n"
          "*PageRegion "
        + name + "/" + name + ": \"<</PageSize[" + dims
        + "]/ImagingBBox null>>setpagedevice\"\n"
          "*CloseUI: *PageRegion\n"
          "*DefaultImageableArea: "
        + name
        + "\n"
          "*ImageableArea "
        + name + "/" + name + ": \"0 0 " + dims
        + "\"\n"
          "*DefaultPaperDimension: "
        + name
        + "\n"
          "*PaperDimension "
        + name + "/" + name + ": \"" + dims + "\"\n";
}

QByteArray resolutionEntries(int dpi)
{
    if (dpi <= 0)
        return {};
    const QByteArray d = QByteArray::number(dpi);
    return "*OpenUI *Resolution/Resolution: PickOne\n"
           "*OrderDependency: 10 AnySetup *Resolution\n"
           "*DefaultResolution: "
        + d
        + "dpi\n"
          "*Resolution "
        + d + "dpi/" + d + " dpi: \"<</HWResolution[" + d + " " + d
        + "]>>setpagedevice\"\n"
          "*CloseUI: *Resolution\n";
}

} // namespace

PrivateCups::PrivateCups() : m_dir(QDir::tempPath() + QStringLiteral("/zcups-XXXXXX"))
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("cannot create a temporary directory");
        return;
    }
    if (!writeConfiguration())
        return;
    pointProcessHere();
    m_running = startScheduler();
}

PrivateCups::~PrivateCups()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }
    restoreEnvironment();
}

bool PrivateCups::writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size()) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool PrivateCups::writeConfiguration()
{
    const QString d = m_dir.path();
    const QByteArray dir = QFile::encodeName(d);
    for (const char *sub : {"spool", "cache", "state", "tmp", "log", "home", "client"})
        QDir(d).mkpath(QLatin1String(sub));
    // The scheduler runs filters as another user, who must reach them.
    QFile::setPermissions(d, Mode755);
    const QByteArray cupsd = "Listen " + dir
        + "/cups.sock\n"
          "Browsing Off\nWebInterface No\nDefaultAuthType None\nLogLevel info\n"
          "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
          "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
          "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
          "  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n";
    const QByteArray files = "ServerRoot " + dir + "\nStateDir " + dir + "/state\nCacheDir " + dir
        + "/cache\nRequestRoot " + dir + "/spool\nTempDir " + dir + "/tmp\nAccessLog " + dir
        + "/log/access_log\nErrorLog " + dir + "/log/error_log\nPageLog " + dir
        + "/log/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nFileDevice Yes\n";
    if (!writeFile(d + QStringLiteral("/cupsd.conf"), cupsd)
        || !writeFile(d + QStringLiteral("/cups-files.conf"), files)
        || !writeFile(d + QStringLiteral("/client/client.conf"), QByteArray())
        || !writeFile(d + QStringLiteral("/passpdf"), PassThroughFilter))
        return false;
    QFile::setPermissions(d + QStringLiteral("/passpdf"), Mode755);
    return true;
}

void PrivateCups::pointProcessHere()
{
    for (const char *name : Variables)
        m_savedEnvironment.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    qputenv("CUPS_SERVER", QFile::encodeName(socketPath()));
    qputenv("CUPS_SERVERROOT", QFile::encodeName(m_dir.path() + QStringLiteral("/client")));
    qputenv("HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/home")));
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    cupsSetServer(nullptr); // forget a server libcups may have looked up already
}

void PrivateCups::restoreEnvironment()
{
    for (const SavedVariable &v : std::as_const(m_savedEnvironment)) {
        if (v.wasSet)
            qputenv(v.name.constData(), v.value);
        else
            qunsetenv(v.name.constData());
    }
    m_savedEnvironment.clear();
    cupsSetServer(nullptr);
}

bool PrivateCups::startScheduler()
{
    const QString d = m_dir.path();
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.setStandardOutputFile(d + QStringLiteral("/log/cupsd.out"));
    // A test killed by its time limit must not leave a scheduler behind.
    m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_cupsd.start(findTool(QStringLiteral("cupsd")),
                  {QStringLiteral("-f"), QStringLiteral("-c"), d + QStringLiteral("/cupsd.conf"), QStringLiteral("-s"),
                   d + QStringLiteral("/cups-files.conf")});
    if (!m_cupsd.waitForStarted(10000)) {
        m_error = QStringLiteral("cupsd did not start: %1").arg(m_cupsd.errorString());
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        if (m_cupsd.state() == QProcess::NotRunning) {
            m_error = QStringLiteral("cupsd exited with %1; see %2/log").arg(m_cupsd.exitCode()).arg(d);
            return false;
        }
        if (QFileInfo::exists(socketPath()) && schedulerAnswers())
            return true;
        QThread::msleep(20);
    }
    m_error = QStringLiteral("cupsd did not answer in time");
    return false;
}

bool PrivateCups::schedulerAnswers()
{
    QProcess lpstat;
    lpstat.start(findTool(QStringLiteral("lpstat")), {QStringLiteral("-r")});
    return lpstat.waitForFinished(5000) && lpstat.readAllStandardOutput().contains("is running");
}

bool PrivateCups::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(findTool(program), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error =
            QStringLiteral("%1 %2: %3")
                .arg(program, arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(process.readAll()).trimmed());
        return false;
    }
    return true;
}

QString PrivateCups::ppdFor(int dpi, const QString &pageSize)
{
    const QString path = m_dir.path() + QStringLiteral("/queue%1.ppd").arg(++m_ppdCount);
    const QByteArray filter = QFile::encodeName(m_dir.path() + QStringLiteral("/passpdf"));
    const QByteArray ppd = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                           "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                           "*PCFileName: \"ZPDF.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Test PDF)\"\n"
                           "*ModelName: \"Test PDF\"\n*ShortNickName: \"Test PDF\"\n*NickName: \"Test PDF\"\n"
                           "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: True\n"
                           "*DefaultColorSpace: RGB\n*FileSystem: False\n*Throughput: \"1\"\n"
                           "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
                           "*cupsFilter2: \"application/pdf application/vnd.cups-pdf 0 "
        + filter + "\"\n" + pageSizeEntries(pageSize) + resolutionEntries(dpi);
    return writeFile(path, ppd) ? path : QString();
}

bool PrivateCups::addPdfQueue(const QString &name, const QString &outputFile, int dpi, const QString &pageSize)
{
    const QString ppd = ppdFor(dpi, pageSize);
    return !ppd.isEmpty()
        && run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("file://") + outputFile, QStringLiteral("-P"), ppd});
}

bool PrivateCups::setDefault(const QString &name)
{
    return run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
}

bool PrivateCups::setUserDefault(const QString &name)
{
    const QString dir = m_dir.path() + QStringLiteral("/home/.cups");
    if (name.isEmpty()) {
        // lpoptions run as root writes the system file of this scheduler.
        QFile::remove(m_dir.path() + QStringLiteral("/client/lpoptions"));
        QFile::remove(dir + QStringLiteral("/lpoptions"));
        return true;
    }
    QDir().mkpath(dir);
    return writeFile(dir + QStringLiteral("/lpoptions"), "Default " + name.toUtf8() + "\n");
}

bool PrivateCups::rejectJobs(const QString &name) { return run(QStringLiteral("cupsreject"), {name}); }
bool PrivateCups::acceptJobs(const QString &name) { return run(QStringLiteral("cupsaccept"), {name}); }
bool PrivateCups::stop(const QString &name) { return run(QStringLiteral("cupsdisable"), {name}); }
bool PrivateCups::start(const QString &name) { return run(QStringLiteral("cupsenable"), {name}); }
bool PrivateCups::deleteQueue(const QString &name)
{
    return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
}
bool PrivateCups::cancelJobs(const QString &name)
{
    return run(QStringLiteral("cancel"), {QStringLiteral("-a"), name});
}

bool PrivateCups::freeze() { return ::kill(pid_t(m_cupsd.processId()), SIGSTOP) == 0; }
bool PrivateCups::thaw() { return ::kill(pid_t(m_cupsd.processId()), SIGCONT) == 0; }

static QList<PrivateCupsJob> fetchJobs(const QString &queue, int which)
{
    cups_job_t *list = nullptr;
    const QByteArray name = queue.toUtf8();
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, queue.isEmpty() ? nullptr : name.constData(), 0, which);
    QList<PrivateCupsJob> result;
    for (int i = 0; i < count; ++i)
        result.append({list[i].id, QString::fromUtf8(list[i].dest), int(list[i].state)});
    cupsFreeJobs(count, list);
    return result;
}

QList<PrivateCupsJob> PrivateCups::jobs(const QString &queue) const { return fetchJobs(queue, CUPS_WHICHJOBS_ALL); }

bool PrivateCups::waitForJobs(const QString &queue, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    do {
        if (fetchJobs(queue, CUPS_WHICHJOBS_ACTIVE).isEmpty())
            return true;
        QThread::msleep(20);
    } while (clock.elapsed() < timeoutMs);
    return false;
}
