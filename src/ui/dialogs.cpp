#include "dialogs.h"

#include "fonts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace zorelad {

qreal dialogScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() / 96.0 : 1.0;
}

int scaled(int length) { return int(std::lround(length * dialogScale())); }

void setUpDialog(QWidget *dialog, const char *name, const QString &title, QSize size, const QColor &background)
{
    dialog->setObjectName(QLatin1String(name));
    dialog->setWindowTitle(title);
    dialog->setFixedSize(scaled(size.width()), scaled(size.height()));
    dialog->setFont(pixelFont(QStringLiteral("MS Sans Serif"), scaled(11)));
    QPalette colours = dialog->palette();
    colours.setColor(QPalette::Window, background.isValid() ? background : colours.color(QPalette::Button));
    dialog->setPalette(colours);
    dialog->setAutoFillBackground(true);
}

} // namespace zorelad
