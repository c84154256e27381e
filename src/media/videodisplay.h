#pragma once
// A plain child window that shows the latest video frame at its natural size
// in its top-left corner.

#include <QImage>
#include <QWidget>

namespace zorelad {

class VideoDisplay : public QWidget {
    Q_OBJECT
public:
    explicit VideoDisplay(QWidget *parent = nullptr);

    // Called from the UI thread with the newest frame.
    void showFrame(const QImage &frame);
    QImage currentFrame() const { return m_frame; }

    // What lies beneath the display, at least its size and without
    // transparency: shown wherever no frame covers the display. With it the
    // display paints every pixel of its own, so nothing beneath it is
    // painted again for each frame. A null image turns it off.
    void setBackdrop(const QImage &backdrop);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage m_frame;
    QImage m_backdrop;
};

} // namespace zorelad
