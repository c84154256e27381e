#pragma once

#include <QImage>
#include <QWidget>

namespace zorelad {

// A picture stretched to fill the widget.
class StretchedPicture : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setPicture(const QImage &picture);
    QImage picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

} // namespace zorelad
