// Prints one sample certificate through a private CUPS scheduler and keeps
// the page as a PDF, for the documentation and for looking at the layout.
//
//   zorelad_certificate_sample OUT.pdf [PICTURE.bmp] [DPI]
//
// Without a picture a plain blue one is used; DPI is the sample printer's
// default resolution (300 unless given). It prints from inside the event
// loop and quits on SIGTERM as the program does, so a test can end it
// half-way through a page.

#include "bmpwriter.h"
#include "certificate.h"
#include "failure.h"
#include "privatecups.h"
#include "shutdown.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

static bool preparePicture(const QTemporaryDir &work, const QString &picture)
{
    const QString target = work.filePath(QStringLiteral("media/s.bmp"));
    if (picture.isEmpty())
        return writeBytes(target,
                          writeBmp24(700, 900, [](int x, int y) { return qRgb(40, 90 + y % 100, 200 - x % 80); }));
    QDir().mkpath(work.filePath(QStringLiteral("media")));
    return QFile::copy(picture, target);
}

int main(int argc, char **argv)
{
    PrivateCups cups; // before anything else talks to CUPS
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.pdf [PICTURE.bmp] [DPI]\n", argv[0]);
        return 2;
    }
    const QString out = QFile::decodeName(argv[1]);
    const QString picture = argc > 2 ? QFile::decodeName(argv[2]) : QString();
    const int dpi = argc > 3 ? std::atoi(argv[3]) : 300;
    QTemporaryDir work;
    if (!cups.isRunning() || !work.isValid() || !preparePicture(work, picture)
        || !cups.addPdfQueue(QStringLiteral("Sample"), work.filePath(QStringLiteral("page.pdf")), dpi)
        || !cups.setDefault(QStringLiteral("Sample"))) {
        std::fprintf(stderr, "cannot set up: %s\n", qPrintable(cups.error()));
        return 1;
    }
    QDir::setCurrent(work.path());
    zorelad::quitOnTerminationSignals();
    QTimer::singleShot(0, &app, [] {
        try {
            zorelad::printCertificate(QStringLiteral("5-А"), QStringLiteral("Петренко Олена"), 2, 20);
            QCoreApplication::exit(0);
        } catch (const zorelad::Failure &f) {
            std::fprintf(stderr, "%s\n", qPrintable(f.text()));
            QCoreApplication::exit(1);
        }
    });
    if (app.exec() != 0)
        return 1;
    QFile::remove(out);
    if (!cups.waitForJobs() || !QFile::copy(work.filePath(QStringLiteral("page.pdf")), out)) {
        std::fprintf(stderr, "the page did not come out\n");
        return 1;
    }
    return 0;
}
