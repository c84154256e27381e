// Зорелад: a quiz for school pupils.

#include "errorbox.h"
#include "journal.h"
#include "mediasystem.h"
#include "shutdown.h"
#include "startup.h"
#include "mainwindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    zorelad::initMedia(&argc, &argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(zorelad::applicationTitle());
    zorelad::quitOnTerminationSignals();

    zorelad::startJournal();
    zorelad::Windows windows = zorelad::createWindows();
    windows.Form1->show();
    return app.exec();
}
