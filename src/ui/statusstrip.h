#pragma once

#include <QWidget>

class QLabel;
class QSizeGrip;

namespace zorelad {

// A status bar of three sunken panels: 50 px, 50 px (centred text) and the
// rest, with a size grip at the right end.
class StatusStrip : public QWidget {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget *parent = nullptr);
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    QLabel *panel(int index) const { return m_panels[index]; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_panels[3];
    QSizeGrip *m_grip;
};

} // namespace zorelad
