// Зорелад: a quiz for school pupils.

#include "errorbox.h"
#include "journal.h"
#include "mediasystem.h"
#include "shutdown.h"
#include "startup.h"
#include "translation.h"
#include "mainwindow.h"

#include <QApplication>
#include <QByteArray>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt's messages while the application connects to the display are held
// back: when there is no display they end in a fatal message that aborts,
// which becomes one plain line and exit status 1 instead.
QList<QPair<QtMsgType, QString>> heldMessages;
QtMessageHandler qtHandler = nullptr;

// In the user's language: the application object exists by the time Qt
// gives up on the display, so the catalogue can be installed then.
QString noDisplayLine()
{
    zorelad::installTranslations({QStringLiteral("zorelad")});
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const QString which = display.isEmpty() && wayland.isEmpty()
        ? QCoreApplication::translate("main", "neither DISPLAY nor WAYLAND_DISPLAY is set")
        : QCoreApplication::translate("main", "cannot connect to \"%1\"")
              .arg(QString::fromLocal8Bit(display.isEmpty() ? wayland : display));
    return QCoreApplication::translate("main", "zorelad: no display (%1); start it from a desktop session").arg(which);
}

void holdBackMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", noDisplayLine().toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldMessages.append({type, text});
}

void releaseMessages()
{
    qInstallMessageHandler(qtHandler);
    for (const auto &message : std::as_const(heldMessages))
        qt_message_output(message.first, QMessageLogContext(), message.second);
    heldMessages.clear();
}

} // namespace

int main(int argc, char **argv)
{
    // The main window's sizes and positions are pixels whatever the screen's
    // resolution; only the dialogs scale themselves, by the screen's own
    // logical resolution, which Qt reports as it is once its scaling is off.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const bool placedByCompositor = zorelad::useWindowSystem();

    zorelad::initMedia(&argc, &argv);
    qtHandler = qInstallMessageHandler(holdBackMessages);
    QApplication app(argc, argv);
    releaseMessages();
    zorelad::installTranslations({QStringLiteral("zorelad")});
    if (placedByCompositor)
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate(
                         "main", "zorelad: a Wayland session without X11: the compositor places the windows")));
    QApplication::setApplicationName(zorelad::applicationTitle());
    zorelad::quitOnTerminationSignals();

    zorelad::startJournal();
    zorelad::Windows windows = zorelad::createWindows();
    windows.Form1->show();
    return app.exec();
}
