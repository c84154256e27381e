#pragma once
// The about window: four credit lines drifting down between two bars.

#include <QDialog>
#include <QElapsedTimer>
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

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *makeCredit(const char *name, const QString &text, int left, int top, int width);
    void catchUp();

    ShapeWidget *Shape1;
    ShapeWidget *Shape2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QPushButton *Button1;
    QTimer *Timer1;
    // The credits drift all the time, but the timer only ticks while the
    // window is shown: the ticks of the time it was hidden, measured on a
    // monotonic clock, are made up when it opens.
    QElapsedTimer m_hiddenFor;
};

} // namespace zorelad
