#include "certificate.h"

#include "fonts.h"

#include "bmpimage.h"
#include "certificatepage.h"
#include "cupsprinter.h"
#include "failure.h"
#include "gradeband.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <utility>

namespace zorelad {

QString certificateResultText(int level, int correctCount)
{
    if (level < 1 || level > 3)
        return {};
    switch (gradeBand(correctCount)) {
    case GradeBand::Excellent:
        return QStringLiteral("%1 рівня ВІДМІННО").arg(level);
    case GradeBand::Good:
        return QStringLiteral("%1 рівня ДОБРЕ").arg(level);
    case GradeBand::Unsatisfactory:
    case GradeBand::None:
        break;
    }
    return {};
}

namespace {

// The folder the page is written to: TMPDIR, else the user's runtime folder.
QString temporaryFolder()
{
    const QString tmp = qEnvironmentVariable("TMPDIR");
    return tmp.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : tmp;
}

[[noreturn]] void failToWrite(const QString &path, int error)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    throw Failure(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
}

// The page as a PDF file in a folder of its own, readable by this user only
// and removed with everything in it when this goes out of scope. The PDF
// writer ignores failed and short writes (QFile reports a short write on a
// full disk as no error), so this device writes every byte or remembers why not.
class PageFile : public QIODevice {
public:
    explicit PageFile(const QString &folder) : m_dir(folder + QStringLiteral("/zorelad-XXXXXX"))
    {
        if (!m_dir.isValid())
            throw Failure(
                QStringLiteral("Cannot create file \"%1/zorelad-XXXXXX\". %2").arg(folder, m_dir.errorString()));
        m_path = m_dir.filePath(QStringLiteral("certificate.pdf"));
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_fd < 0)
            failToWrite(m_path, errno);
        open(QIODevice::WriteOnly);
    }
    ~PageFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    QString path() const { return m_path; }

    // Closes the file and makes sure all of it is there, ending in the
    // PDF trailer, before it may go to the printer.
    void finish()
    {
        close();
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0 && !m_error)
            m_error = errno;
        if (m_error)
            failToWrite(m_path, m_error);
        QFile check(m_path);
        const bool complete = check.open(QIODevice::ReadOnly) && check.size() == m_written && check.seek(m_written - 16)
            && check.read(16).trimmed().endsWith("%%EOF");
        if (!complete)
            throw Failure(QStringLiteral("Stream write error"));
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        for (qint64 done = 0; done < size && !m_error;) {
            const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                m_error = n < 0 ? errno : EIO;
            else
                done += n;
        }
        if (m_error)
            return -1;
        m_written += size;
        return size;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_fd = -1;
    int m_error = 0; // the first write's failure
    qint64 m_written = 0;
};

// Paints the page into the file at the printer's own resolution and paper,
// with the origin at the paper's corner, so device pixels are printer pixels.
void renderPage(const PrinterTarget &target, PageFile &file, const BmpFile &picture, const CertificateTexts &texts,
                const std::atomic_bool &stop)
{
    QPdfWriter writer(&file);
    writer.setPageLayout(QPageLayout(target.pageSize, QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(target.dpi);
    writer.setTitle(QString());
    QPainter painter;
    if (!painter.begin(&writer))
        failToWrite(file.path(), EIO);
    paintCertificatePage(painter, picture, texts, stop);
    painter.end();
}

// Runs `work` on a thread of its own while this thread's event loop goes on
// without user input, so the windows repaint while the printer is looked up
// and the page made and sent. When the program is told to quit meanwhile,
// `stop` is set and the work is waited for. A failure of the work is thrown here.
void runAside(const std::function<void(const std::atomic_bool &stop)> &work)
{
    std::atomic_bool stop{false};
    if (!QCoreApplication::instance()) {
        work(stop);
        return;
    }
    std::exception_ptr failure;
    QThread *thread = QThread::create([&] {
        try {
            work(stop);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    stop = true; // the loop also ends when the program quits
    thread->wait();
    delete thread;
    if (failure)
        std::rethrow_exception(failure);
}

// Hands the memory of a page-sized picture back to the system after printing.
struct TrimMemoryAfter {
    ~TrimMemoryAfter() { malloc_trim(0); }
};

} // namespace

void printCertificate(const QString &pupilClass, const QString &pupilName, int level, int correctCount)
{
    const BmpFile picture(resolvePath(QStringLiteral("media/s.bmp")));
    const QString result = certificateResultText(level, correctCount);
    if (result.isEmpty())
        return;
    installFontSubstitutions();
    const CertificateTexts texts{certificateClassLine(pupilClass), pupilName, result};
    const QString folder = temporaryFolder();
    const TrimMemoryAfter trim;
    runAside([&](const std::atomic_bool &stop) {
        const PrinterTarget target = defaultPrinterTarget();
        PageFile file(folder);
        renderPage(target, file, picture, texts, stop);
        if (stop)
            return;
        file.finish();
        submitPdfJob(target, file.path());
    });
}

} // namespace zorelad
