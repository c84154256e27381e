#pragma once
// The about window: four credit lines drifting down between two bars.

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

namespace zorelad {

class ShapeWidget;

// The credit lines' tops run from CreditsTop to CreditsBottom and start again.
inline constexpr int CreditsTop = 28;
inline constexpr int CreditsBottom = 120;

// One step of the drift: down a pixel, and back to the top past the bottom.
int nextCreditTop(int top);

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *mainWindow);

    void Timer1Timer();
    void Button1Click();

private:
    QLabel *makeCredit(const char *name, const QString &text, int left, int top, int width);

    ShapeWidget *Shape1;
    ShapeWidget *Shape2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QPushButton *Button1;
    QTimer *Timer1;
};

} // namespace zorelad
