#include "widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace zorelad {

void uncheck(QRadioButton *button)
{
    if (!button->isChecked())
        return;
    QButtonGroup *group = button->group();
    const bool exclusive = group ? group->exclusive() : button->autoExclusive();
    const QSignalBlocker blocker(button);
    if (group)
        group->setExclusive(false);
    else
        button->setAutoExclusive(false);
    button->setChecked(false);
    if (group)
        group->setExclusive(exclusive);
    else
        button->setAutoExclusive(exclusive);
}

QButtonGroup *exclusiveGroup(std::initializer_list<QRadioButton *> buttons, QObject *owner)
{
    auto *group = new QButtonGroup(owner);
    for (QRadioButton *button : buttons)
        group->addButton(button);
    return group;
}

void setShown(std::initializer_list<QWidget *> widgets, bool shown)
{
    for (QWidget *widget : widgets)
        widget->setVisible(shown);
}

QColor activeTitleColour() { return QColor(153, 180, 209); }

namespace {

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!button || !button->hasFocus() || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void letEnterPressButtons()
{
    static QPointer<EnterPressesButtons> filter;
    if (filter || !qApp)
        return;
    filter = new EnterPressesButtons(qApp);
    qApp->installEventFilter(filter);
}

} // namespace zorelad
