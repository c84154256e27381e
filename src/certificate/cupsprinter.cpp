#include "cupsprinter.h"

#include "failure.h"

#include <QFile>
#include <QSizeF>
#include <QTextStream>

#include <cups/cups.h>

namespace zorelad {

namespace {

constexpr int FallbackDpi = 300;

[[noreturn]] void noDefaultPrinter()
{
    throw Failure(QStringLiteral("There is no default printer currently selected"));
}

[[noreturn]] void printerNotValid()
{
    throw Failure(QStringLiteral("Printer selected is not valid"));
}

// Owns the destination and its details for the length of one lookup.
class Destination {
public:
    Destination() : m_dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr)) {}
    ~Destination()
    {
        if (m_info)
            cupsFreeDestInfo(m_info);
        if (m_dest)
            cupsFreeDests(1, m_dest);
    }
    Destination(const Destination &) = delete;
    Destination &operator=(const Destination &) = delete;

    cups_dest_t *dest() const { return m_dest; }
    cups_dinfo_t *info()
    {
        if (!m_info && m_dest)
            m_info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, m_dest);
        return m_info;
    }
    QByteArray option(const char *name) const
    {
        return QByteArray(cupsGetOption(name, m_dest->num_options, m_dest->options));
    }

private:
    cups_dest_t *m_dest = nullptr;
    cups_dinfo_t *m_info = nullptr;
};

int defaultResolution(Destination &d)
{
    if (!d.info())
        return FallbackDpi;
    ipp_attribute_t *attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, d.dest(), d.info(), "printer-resolution");
    if (!attr || ippGetValueTag(attr) != IPP_TAG_RESOLUTION)
        return FallbackDpi;
    int yres = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    ippGetResolution(attr, 0, &yres, &units);
    const int dpi = units == IPP_RES_PER_CM ? qRound(yres * 2.54) : yres;
    return (dpi >= 72 && dpi <= 9600) ? dpi : FallbackDpi;
}

void readDefaultMedia(Destination &d, PrinterTarget &target)
{
    cups_size_t size {};
    if (!d.info()
        || !cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, d.dest(), d.info(), CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return;
    if (size.width <= 0 || size.length <= 0)
        return;
    // CUPS measures media in hundredths of a millimetre.
    target.pageSize = QPageSize(QSizeF(size.width / 100.0, size.length / 100.0), QPageSize::Millimeter,
                                QString(), QPageSize::FuzzyMatch);
    target.media = QByteArray(size.media);
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

} // namespace

bool userDefaultIsNamed()
{
    if (!qEnvironmentVariableIsEmpty("LPDEST"))
        return true;
    const QByteArray printer = qgetenv("PRINTER");
    if (!printer.isEmpty() && printer != "lp")
        return true;
    const QString serverRoot = qEnvironmentVariableIsEmpty("CUPS_SERVERROOT")
        ? QStringLiteral("/etc/cups")
        : qEnvironmentVariable("CUPS_SERVERROOT");
    if (lpoptionsNamesDefault(serverRoot + QStringLiteral("/lpoptions")))
        return true;
    const QString home = qEnvironmentVariable("HOME");
    return !home.isEmpty() && lpoptionsNamesDefault(home + QStringLiteral("/.cups/lpoptions"));
}

PrinterTarget defaultPrinterTarget()
{
    Destination d;
    if (!d.dest()) {
        // A default the user chose that the scheduler no longer knows is a
        // printer that went away, not a missing choice.
        if (userDefaultIsNamed())
            printerNotValid();
        noDefaultPrinter();
    }
    if (d.option("printer-is-accepting-jobs") == "false")
        printerNotValid();
    PrinterTarget target;
    target.name = QString::fromUtf8(d.dest()->name);
    target.dpi = defaultResolution(d);
    readDefaultMedia(d, target);
    return target;
}

int submitPdfJob(const PrinterTarget &printer, const QString &pdfPath)
{
    cups_option_t *options = nullptr;
    int count = 0;
    if (!printer.media.isEmpty())
        count = cupsAddOption("media", printer.media.constData(), count, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.name.toUtf8().constData(),
                                   QFile::encodeName(pdfPath).constData(), "", count, options);
    cupsFreeOptions(count, options);
    if (job <= 0)
        printerNotValid();
    return job;
}

} // namespace zorelad
