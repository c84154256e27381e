#include "pictures.h"

#include "jpegimage.h"

#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

// The resources live in a static library, so they are registered by hand.
static void registerPictures() { Q_INIT_RESOURCE(pictures); }

namespace zorelad {

QByteArray pictureBytes(const QString &name)
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/pictures/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage backgroundPicture() { return decodeJpeg(pictureBytes(QStringLiteral("background.jpg"))); }

namespace {

// An icon whose picture is decoded when it is first drawn, not while the
// windows are made, and at the size it is drawn at: the menu's STOP picture
// is 428 x 413 for a 16-pixel icon in a menu that may never open. The
// pictures decoded so far make an ordinary icon, which draws them in every
// mode (greyed out for a disabled button) as any icon does.
class PictureIconEngine : public QIconEngine {
public:
    explicit PictureIconEngine(QString path) : m_path(std::move(path)) {}

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const QSize natural = naturalSize();
        return natural.boundedTo(natural.scaled(size, Qt::KeepAspectRatio));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        decodeFor(size);
        return m_decoded.pixmap(size, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        decodeFor(rect.size());
        m_decoded.paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QIconEngine *clone() const override { return new PictureIconEngine(*this); }

private:
    QSize naturalSize()
    {
        if (!m_natural.isValid())
            m_natural = QImageReader(m_path).size();
        return m_natural;
    }

    void decodeFor(const QSize &size)
    {
        const QSize wanted = actualSize(size, QIcon::Normal, QIcon::Off);
        if (wanted.isEmpty() || m_decoded.availableSizes().contains(wanted))
            return;
        QImageReader reader(m_path);
        reader.setScaledSize(wanted);
        const QImage picture = reader.read();
        if (!picture.isNull())
            m_decoded.addPixmap(QPixmap::fromImage(picture));
    }

    QString m_path;
    QSize m_natural;
    QIcon m_decoded;
};

} // namespace

QIcon pictureIcon(const QString &name)
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    return QIcon(new PictureIconEngine(QStringLiteral(":/pictures/") + name));
}

} // namespace zorelad
