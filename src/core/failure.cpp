#include "failure.h"

#include <QDir>
#include <cstring>

namespace zorelad {

Failure::Failure(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

void failToOpenFile(const QString &path, int error)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    throw Failure(QStringLiteral("Cannot open file \"%1\". %2")
                      .arg(QDir::cleanPath(QDir::current().absoluteFilePath(path)), reason));
}

} // namespace zorelad
