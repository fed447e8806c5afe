#include "Pictures.h"

#include <QBitmap>
#include <QImage>

// The pictures live in a static library, so their registration must be asked for.
static void initPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    Q_UNUSED(registered);
}

QPixmap Pictures::bitmap(const QString &name)
{
    initPictures();
    QImage image(QStringLiteral(":/bitmaps/%1.bmp").arg(name.toUpper()));
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    const QRgb transparent = image.pixel(0, image.height() - 1);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(transparent, Qt::MaskInColor)));
    return pixmap;
}
