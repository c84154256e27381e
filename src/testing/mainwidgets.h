#pragma once
// The main window's widgets by name, so the handlers that work on them can
// live beside the rules they apply.

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QToolButton;

namespace zorelad {

class ShapeWidget;
class StatusStrip;

struct MainWidgets {
    ShapeWidget *Shape1 = nullptr;
    ShapeWidget *Shape2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    StatusStrip *StatusBar1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QAction *N3 = nullptr;
    QAction *N5 = nullptr;
};

} // namespace zorelad
