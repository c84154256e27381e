#pragma once
// A failure ends the handler that met it at the failing step; the handler's
// wrapper shows its text in the default error box and the program goes on.

#include <QByteArray>
#include <QString>
#include <exception>

namespace zorelad {

class Failure : public std::exception {
public:
    explicit Failure(QString text);
    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// Throws the failure of a file that cannot be opened or read:
// Cannot open file "PATH". REASON — the path made absolute, the system's
// reason for `error` (an errno value) without a final period.
[[noreturn]] void failToOpenFile(const QString &path, int error);

} // namespace zorelad
