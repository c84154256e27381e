#pragma once

#include <QPushButton>

namespace zorelad {

// A push button that draws its picture centred below its caption.
class CaptionOverPictureButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace zorelad
