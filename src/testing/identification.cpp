#include "identification.h"

#include "dialogs.h"
#include "errorbox.h"
#include "fonts.h"
#include "widgets.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zorelad {

QStringList schoolClasses()
{
    QStringList classes;
    for (int year = 1; year <= 7; ++year) {
        for (const QString &letter : {QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("В")})
            classes << QString::number(year) + QLatin1Char('-') + letter;
    }
    return classes;
}

QString identificationRefusal(const QString &name, const QString &pupilClass)
{
    if (name.isEmpty() || name == QLatin1String(" "))
        return QStringLiteral("Введіть ім\"я!");
    if (pupilClass == ClassPlaceholder)
        return QStringLiteral("Виберіть клас!");
    return {};
}

static void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(scaled(left), scaled(top), scaled(width), scaled(height));
}

TForm2::TForm2(PupilReceiver &receiver, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), m_receiver(receiver)
{
    setUpDialog(this, "Form2", QStringLiteral("Ідентифікація користувача"), QSize(228, 166));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    QPalette title = Panel1->palette();
    title.setColor(QPalette::Window, activeTitleColour());
    Panel1->setPalette(title);
    Panel1->setAutoFillBackground(true);
    place(Panel1, 8, 8, 209, 153);

    Label1 = new QLabel(QStringLiteral("Введіть своє ім'я"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(pixelFont(QStringLiteral("Palatino Linotype"), scaled(19)));
    place(Label1, 16, 8, 145, 26);

    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(pixelFont(QStringLiteral("Haettenschweiler"), scaled(19), true));
    QPalette red = Edit1->palette();
    red.setColor(QPalette::Text, Qt::red);
    Edit1->setPalette(red);
    place(Edit1, 16, 32, 161, 29);

    Button1 = new QPushButton(QStringLiteral("Розпочати"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    place(Button1, 16, 112, 161, 25);

    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(schoolClasses());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(ClassPlaceholder);
    place(ComboBox1, 16, 72, 145, 21);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, ComboBox1);
    Edit1->setFocus();

    connect(Button1, &QPushButton::clicked, this, [this] {
        guarded([this] { Button1Click(); });
        if (m_closeWhenDone) {
            m_closeWhenDone = false;
            accept();
        }
    });
}

void TForm2::Button1Click()
{
    const QString refusal = identificationRefusal(Edit1->text(), ComboBox1->currentText());
    if (!refusal.isEmpty()) {
        showRefusal(refusal);
        return;
    }
    m_receiver.takePupil(Edit1->text(), ComboBox1->currentText());
    // The dialog closes once this handler has run to its end (see the
    // button's connection), so a failure of the steps below is shown while
    // it is still on screen.
    m_closeWhenDone = true;
    m_receiver.stopIntroVideo();
    m_receiver.enableEndTesting();
}

void TForm2::showEvent(QShowEvent *event)
{
    if (QWidget *main = parentWidget()) {
        QRect box = frameGeometry();
        box.moveCenter(main->frameGeometry().center());
        move(box.topLeft());
    }
    QDialog::showEvent(event);
}

} // namespace zorelad
