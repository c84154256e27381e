#pragma once
// A level: 24 questions read one at a time, scored on Next, graded at the end.
// Works on the main window's widgets and the shared test state.

#include "mainwidgets.h"
#include "teststate.h"

#include <QString>

class QRadioButton;

namespace zorelad {

class LevelRun {
public:
    LevelRun(const MainWidgets &widgets, TestState &state);

    void start(int level); // the level buttons and the level menu
    void next();           // "Наступне"
    void endTesting();     // "Закінчити тестування"

    // Line k of the loaded question file, from the line store.
    QString storedLine(int k) const;

private:
    void loadQuestion(int number);
    void scoreChosenOption();
    void finishLevel();
    void uncheckOptions();
    QRadioButton *checkedOption() const;

    MainWidgets w;
    TestState &state;
};

} // namespace zorelad
