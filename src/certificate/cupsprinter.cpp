#include "cupsprinter.h"

#include "cupslibrary.h"
#include "failure.h"

#include <QFile>
#include <QSizeF>
#include <QTextStream>

#include <sys/socket.h>

namespace zorelad {

namespace {

constexpr int FallbackDpi = 300;
constexpr const char *FallbackMedia = "na_letter_8.5x11in";
// How long the scheduler may take to accept a connection, and to answer.
constexpr int ConnectMs = 3000;
constexpr double AnswerSeconds = 3.0;

[[noreturn]] void noDefaultPrinter()
{
    throw Failure(QStringLiteral("There is no default printer currently selected"));
}

[[noreturn]] void printerNotValid() { throw Failure(QStringLiteral("Printer selected is not valid")); }

// A connection of the program's own to the scheduler. libcups' shared one
// waits a minute for an answer; this one gives up after a few seconds and
// remembers that it did.
class Connection {
public:
    explicit Connection(const CupsLibrary &cups) : m_cups(cups)
    {
        m_http = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1, ConnectMs, nullptr);
        if (m_http)
            cups.setTimeout(m_http, AnswerSeconds, &Connection::giveUp, this);
    }
    ~Connection()
    {
        if (m_http)
            m_cups.close(m_http);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *http() const { return m_http; }
    bool timedOut() const { return m_timedOut; }

private:
    static int giveUp(http_t *, void *self)
    {
        static_cast<Connection *>(self)->m_timedOut = true;
        return 0;
    }

    const CupsLibrary &m_cups;
    http_t *m_http = nullptr;
    bool m_timedOut = false;
};

// Owns the default destination and its details for the length of one lookup.
class Destination {
public:
    Destination(const CupsLibrary &cups, http_t *http)
        : m_cups(cups), m_http(http), m_dest(cups.getNamedDest(http, nullptr, nullptr))
    {}
    ~Destination()
    {
        if (m_info)
            m_cups.freeDestInfo(m_info);
        if (m_dest)
            m_cups.freeDests(1, m_dest);
    }
    Destination(const Destination &) = delete;
    Destination &operator=(const Destination &) = delete;

    cups_dest_t *dest() const { return m_dest; }
    QByteArray option(const char *name) const
    {
        return QByteArray(m_cups.getOption(name, m_dest->num_options, m_dest->options));
    }
    // The queue's own default for an option (its "NAME-default" attribute).
    ipp_attribute_t *queueDefault(const char *name)
    {
        if (!m_info)
            m_info = m_cups.copyDestInfo(m_http, m_dest);
        return m_info ? m_cups.findDestDefault(m_http, m_dest, m_info, name) : nullptr;
    }

private:
    const CupsLibrary &m_cups;
    http_t *m_http;
    cups_dest_t *m_dest = nullptr;
    cups_dinfo_t *m_info = nullptr;
};

// A medium named as CUPS names them (PWG "iso_a4_210x297mm", PPD "A4",
// legacy "a4"; the first known one of a list such as "A4,Tray1").
pwg_media_t *knownMedium(const CupsLibrary &cups, const QByteArray &names)
{
    for (const QByteArray &name : names.split(',')) {
        const QByteArray n = name.trimmed();
        if (n.isEmpty())
            continue;
        if (pwg_media_t *m = cups.mediaForPwg(n.constData()))
            return m;
        if (pwg_media_t *m = cups.mediaForPpd(n.constData()))
            return m;
        if (pwg_media_t *m = cups.mediaForLegacy(n.constData()))
            return m;
    }
    return nullptr;
}

pwg_media_t *defaultMedium(const CupsLibrary &cups, Destination &d)
{
    for (const char *option : {"media", "PageSize"}) {
        if (pwg_media_t *m = knownMedium(cups, d.option(option)))
            return m;
    }
    if (ipp_attribute_t *attr = d.queueDefault("media")) {
        if (pwg_media_t *m = knownMedium(cups, QByteArray(cups.string(attr, 0, nullptr))))
            return m;
    }
    return cups.mediaForPwg(FallbackMedia);
}

// The number of at most five digits at `at`, moving past it; -1 when there is none.
int digitsAt(const QByteArray &text, qsizetype &at)
{
    int value = 0;
    const qsizetype start = at;
    while (at < text.size() && at - start < 5 && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    return at > start ? value : -1;
}

} // namespace

int resolutionDpi(const QByteArray &text)
{
    // Read by hand: a regular expression would bring in its compiler for
    // one short pattern, about half a megabyte resident while printing.
    const QByteArray t = text.trimmed().toLower();
    qsizetype at = 0;
    int value = digitsAt(t, at);
    if (value >= 0 && at < t.size() && t[at] == 'x') {
        ++at;
        value = digitsAt(t, at);
    }
    const QByteArrayView unit = QByteArrayView(t).sliced(at);
    if (value < 0 || (unit != "dpi" && unit != "dpcm"))
        return 0;
    const int dpi = unit == "dpcm" ? qRound(value * 2.54) : value;
    return (dpi >= 72 && dpi <= 9600) ? dpi : 0;
}

namespace {

int defaultResolution(const CupsLibrary &cups, Destination &d)
{
    for (const char *option : {"Resolution", "printer-resolution"}) {
        if (const int dpi = resolutionDpi(d.option(option)))
            return dpi;
    }
    ipp_attribute_t *attr = d.queueDefault("printer-resolution");
    if (!attr || cups.valueTag(attr) != IPP_TAG_RESOLUTION)
        return FallbackDpi;
    int yres = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    cups.resolution(attr, 0, &yres, &units);
    return resolutionDpi(QByteArray::number(yres) + (units == IPP_RES_PER_CM ? "dpcm" : "dpi"));
}

bool lpoptionsNamesDefault(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList words = in.readLine().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 2 && words[0].compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Where the client's and this machine's scheduler's settings live.
QString serverRoot()
{
    return qEnvironmentVariableIsEmpty("CUPS_SERVERROOT") ? QStringLiteral("/etc/cups")
                                                          : qEnvironmentVariable("CUPS_SERVERROOT");
}

// No scheduler took the connection. Where the user named no printer and this
// machine has no scheduler of its own to ask (libcups found no socket and
// there is no cupsd.conf), there is no print service and so no default;
// otherwise the scheduler that holds the default is not running, and the
// printer cannot be reached.
[[noreturn]] void schedulerUnreachable(const CupsLibrary &cups)
{
    if (!userDefaultIsNamed() && qstrcmp(cups.server(), "localhost") == 0
        && !QFile::exists(serverRoot() + QStringLiteral("/cupsd.conf")))
        noDefaultPrinter();
    printerNotValid();
}

} // namespace

bool userDefaultIsNamed()
{
    if (!qEnvironmentVariableIsEmpty("LPDEST"))
        return true;
    const QByteArray printer = qgetenv("PRINTER");
    if (!printer.isEmpty() && printer != "lp")
        return true;
    if (lpoptionsNamesDefault(serverRoot() + QStringLiteral("/lpoptions")))
        return true;
    const QString home = qEnvironmentVariable("HOME");
    return !home.isEmpty() && lpoptionsNamesDefault(home + QStringLiteral("/.cups/lpoptions"));
}

PrinterTarget defaultPrinterTarget()
{
    const CupsLibrary *cups = cupsLibrary();
    if (!cups) {
        if (userDefaultIsNamed())
            printerNotValid();
        noDefaultPrinter();
    }
    Connection connection(*cups);
    if (!connection.http())
        schedulerUnreachable(*cups);
    Destination d(*cups, connection.http());
    if (!d.dest()) {
        // A default the user chose that the scheduler does not know is a
        // printer that went away; a scheduler that does not answer cannot
        // say whether it has one, so its printer is the one not answering.
        if (connection.timedOut() || userDefaultIsNamed() || cups->lastError() != IPP_STATUS_ERROR_NOT_FOUND)
            printerNotValid();
        noDefaultPrinter();
    }
    if (d.option("printer-is-accepting-jobs") == "false")
        printerNotValid();
    PrinterTarget target;
    target.name = QString::fromUtf8(d.dest()->name);
    const pwg_media_t *medium = defaultMedium(*cups, d);
    target.dpi = defaultResolution(*cups, d);
    if (connection.timedOut())
        printerNotValid();
    // CUPS measures media in hundredths of a millimetre.
    target.pageSize = QPageSize(QSizeF(medium->width / 100.0, medium->length / 100.0), QPageSize::Millimeter, QString(),
                                QPageSize::FuzzyMatch);
    // Like lp: the job carries the user's options for the printer.
    for (int i = 0; i < d.dest()->num_options; ++i) {
        const cups_option_t &o = d.dest()->options[i];
        if (qstrcmp(o.name, "media") != 0)
            target.jobOptions.append({QByteArray(o.name), QByteArray(o.value)});
    }
    target.jobOptions.append({QByteArrayLiteral("media"), QByteArray(medium->pwg)});
    return target;
}

int submitPdfJob(const PrinterTarget &printer, const QString &pdfPath)
{
    const CupsLibrary *cups = cupsLibrary();
    if (!cups)
        printerNotValid();
    Connection connection(*cups);
    if (!connection.http())
        printerNotValid();
    cups_option_t *options = nullptr;
    int count = 0;
    for (const auto &[name, value] : printer.jobOptions)
        count = cups->addOption(name.constData(), value.constData(), count, &options);
    const int job = cups->printFile(connection.http(), printer.name.toUtf8().constData(),
                                    QFile::encodeName(pdfPath).constData(), "", count, options);
    cups->freeOptions(count, options);
    if (job <= 0)
        printerNotValid();
    return job;
}

} // namespace zorelad
