#pragma once
// The access-code dialog: a teacher who types the code sees the number of the
// right option beside the options.

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace zorelad {

inline const QString AccessCode = QStringLiteral("qzvk");

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // `reveal` shows the right option's number on the main window.
    TForm3(std::function<void()> reveal, QWidget *mainWindow);

    void Button1Click();

private:
    std::function<void()> m_reveal;
    QLineEdit *Edit1;
    QPushButton *Button1;
};

} // namespace zorelad
