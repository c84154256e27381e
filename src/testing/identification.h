#pragma once
// The identification dialog: the pupil gives a name and a class before
// choosing a level.

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorelad {

// What the main window does once a pupil is accepted.
class PupilReceiver {
public:
    virtual ~PupilReceiver() = default;
    // Shows the name and class and opens the way to the levels.
    virtual void takePupil(const QString &name, const QString &pupilClass) = 0;
    // Hides the intro video's area and stops the video; may fail.
    virtual void stopIntroVideo() = 0;
    // Enables "Закінчити тестування".
    virtual void enableEndTesting() = 0;
};

// The placeholder the class list shows until a class is chosen or typed.
inline const QString ClassPlaceholder = QStringLiteral("Виберіть клас");

// The classes on offer: 1-А .. 7-В.
QStringList schoolClasses();

// The refusal for a name and class as typed, or an empty text when both are
// acceptable.
QString identificationRefusal(const QString &name, const QString &pupilClass);

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(PupilReceiver &receiver, QWidget *mainWindow);

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    PupilReceiver &m_receiver;
    bool m_closeWhenDone = false;
    QFrame *Panel1;
    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QComboBox *ComboBox1;
};

} // namespace zorelad
