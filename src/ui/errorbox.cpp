#include "errorbox.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace zorelad {

QString applicationTitleFor(const QString &executableFileName)
{
    QString name = QFileInfo(executableFileName).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString applicationTitle() { return applicationTitleFor(QCoreApplication::applicationFilePath()); }

QString defaultErrorText(const QString &text)
{
    if (text.isEmpty() || text.back().unicode() <= u'.')
        return text;
    return text + QLatin1Char('.');
}

static int openDefaultErrors = 0;

bool defaultErrorShowing() { return openDefaultErrors > 0; }

void showDefaultError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), defaultErrorText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QLatin1String(DefaultErrorBoxName));
    box.setDefaultButton(QMessageBox::Ok);
    ++openDefaultErrors;
    box.exec();
    --openDefaultErrors;
}

void showRefusal(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::NoButton);
    box.setObjectName(QLatin1String(RefusalBoxName));
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = box.frameGeometry();
        frame.moveCenter(screen->geometry().center());
        box.move(frame.topLeft());
    }
    box.exec();
}

} // namespace zorelad
