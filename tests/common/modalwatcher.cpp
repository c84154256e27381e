#include "modalwatcher.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

ModalWatcher::ModalWatcher(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
    m_timer.start();
}

void ModalWatcher::setAnswer(std::function<void(QWidget *)> answer) { m_answer = std::move(answer); }

QStringList ModalWatcher::texts() const
{
    QStringList result;
    for (const SeenModal &s : m_seen)
        result << s.text;
    return result;
}

void ModalWatcher::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    SeenModal seen{modal->objectName(), modal->windowTitle(), {}};
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        seen.text = box->text();
    m_seen << seen;
    if (m_answer) {
        m_answer(modal);
    } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        box->done(0);
    } else {
        modal->close();
    }
}
