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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_frame;
};

} // namespace zorelad
