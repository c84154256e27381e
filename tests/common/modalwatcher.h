#pragma once
// Answers modal windows for a test: every modal window that comes up is
// recorded (its object name, title and text) and then handled by the current
// answer, by default closed. A modal exec() would otherwise block the test.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

struct SeenModal {
    QString objectName;
    QString title;
    QString text; // a message box's text, empty for other windows
};

class ModalWatcher : public QObject {
    Q_OBJECT
public:
    explicit ModalWatcher(QObject *parent = nullptr);

    // What to do with the next modal windows; the default closes them.
    void setAnswer(std::function<void(QWidget *)> answer);
    QList<SeenModal> seen() const { return m_seen; }
    QStringList texts() const;
    void clear() { m_seen.clear(); }

private:
    void poll();

    QTimer m_timer;
    QWidget *m_last = nullptr;
    std::function<void(QWidget *)> m_answer;
    QList<SeenModal> m_seen;
};
