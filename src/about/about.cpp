#include "about.h"

#include "dialogs.h"
#include "errorbox.h"
#include "fonts.h"
#include "shapewidget.h"

#include <QLabel>
#include <QPushButton>

namespace zorelad {

int nextCreditTop(int top)
{
    ++top;
    return top > CreditsBottom ? CreditsTop : top;
}

TForm4::TForm4(QWidget *mainWindow) : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
{
    setUpDialog(this, "Form4", QStringLiteral("Form4"), QSize(339, 190), QColor(0, 0, 128));
    move(scaled(376), scaled(262));

    for (ShapeWidget **bar : {&Shape1, &Shape2}) {
        *bar = new ShapeWidget(ShapeWidget::Kind::Rectangle, this);
        (*bar)->setFill(QColor(0, 0, 255));
        (*bar)->setOutline(Qt::black);
    }
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(scaled(16), scaled(8), scaled(305), scaled(17));
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(scaled(16), scaled(136), scaled(305), scaled(17));

    Label1 = makeCredit("Label1", QStringLiteral("Команда Зорелад"), 64, 32, 228);
    Label2 = makeCredit("Label2", QStringLiteral("zorelad@example.org"), 88, 56, 163);
    Label3 = makeCredit("Label3", QStringLiteral("(c) 2026 Зорелад"), 80, 80, 174);
    Label4 = makeCredit("Label4", QStringLiteral("Київ"), 136, 104, 50);

    Button1 = new QPushButton(QStringLiteral("!ОК!"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(scaled(128), scaled(160), scaled(75), scaled(25));
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    m_hiddenFor.start();
}

QLabel *TForm4::makeCredit(const char *name, const QString &text, int left, int top, int width)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setFont(pixelFont(QStringLiteral("Palatino Linotype"), scaled(16), true));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::yellow);
    colours.setColor(QPalette::Window, QColor(0, 0, 128));
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    label->setGeometry(scaled(left), scaled(top), scaled(width), scaled(22));
    return label;
}

void TForm4::Timer1Timer()
{
    for (QLabel *label : {Label1, Label2, Label3, Label4}) {
        const int top = nextCreditTop(qRound(label->y() / dialogScale()));
        label->move(label->x(), scaled(top));
    }
}

void TForm4::Button1Click() { accept(); }

void TForm4::showEvent(QShowEvent *event)
{
    catchUp();
    Timer1->start();
    QDialog::showEvent(event);
}

void TForm4::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    m_hiddenFor.start();
    QDialog::hideEvent(event);
}

// A whole cycle of ticks leaves the credits where they were, so at most one
// cycle's worth is made up.
void TForm4::catchUp()
{
    if (!m_hiddenFor.isValid())
        return;
    const qint64 cycle = CreditsBottom - CreditsTop + 1;
    const qint64 ticks = m_hiddenFor.elapsed() / Timer1->interval() % cycle;
    m_hiddenFor.invalidate();
    for (qint64 k = 0; k < ticks; ++k)
        Timer1Timer();
}

} // namespace zorelad
