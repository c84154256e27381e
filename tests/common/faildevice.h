#pragma once
// A device that passes writes on to another until it has taken `limit`
// bytes, then fails every write as a full disk would.

#include <QIODevice>

namespace testing_support {

class FailDevice : public QIODevice {
public:
    FailDevice(QIODevice *inner, qint64 limit) : m_inner(inner), m_limit(limit)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = m_limit - m_written;
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = m_inner->write(data, qMin(size, room));
        m_written += n > 0 ? n : 0;
        return n;
    }

private:
    QIODevice *m_inner;
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace testing_support
