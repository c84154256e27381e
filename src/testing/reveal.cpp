#include "reveal.h"

#include "dialogs.h"
#include "errorbox.h"
#include "fonts.h"

#include <QLineEdit>
#include <QPushButton>

namespace zorelad {

TForm3::TForm3(std::function<void()> reveal, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), m_reveal(std::move(reveal))
{
    setUpDialog(this, "Form3", QStringLiteral("Form3"), QSize(158, 51));
    move(scaled(448), scaled(320));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(scaled(16), 0, scaled(121), scaled(21));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(scaled(40), scaled(24), scaled(75), scaled(25));
    // No default button: Return in the code's field does nothing, as in any
    // plain field; it presses OK only when OK has the focus.
    Button1->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
}

void TForm3::Button1Click()
{
    if (Edit1->text() == AccessCode)
        m_reveal();
    accept();
}

} // namespace zorelad
