#include "statusstrip.h"

#include <QLabel>
#include <QSizeGrip>
#include <algorithm>

namespace zorelad {

StatusStrip::StatusStrip(QWidget *parent) : QWidget(parent)
{
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_panels[i]->setIndent(2);
    }
    m_panels[1]->setAlignment(Qt::AlignCenter);
    m_grip = new QSizeGrip(this);
}

void StatusStrip::setPanelText(int panel, const QString &text) { m_panels[panel]->setText(text); }

QString StatusStrip::panelText(int panel) const { return m_panels[panel]->text(); }

void StatusStrip::resizeEvent(QResizeEvent *)
{
    const int h = height() - 2;
    m_panels[0]->setGeometry(0, 2, 50 - 2, h);
    m_panels[1]->setGeometry(50, 2, 50 - 2, h);
    m_panels[2]->setGeometry(100, 2, std::max(0, width() - 100), h);
    const QSize grip = m_grip->sizeHint();
    m_grip->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(), grip.height());
}

} // namespace zorelad
