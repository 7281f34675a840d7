#include "wizardimage.h"

#include <QFile>
#include <QImageReader>
#include <QPixmapCache>

QPixmap WizardImage::load(const QString &resourcePath)
{
    QPixmap pixmap;
    if (QPixmapCache::find(resourcePath, &pixmap))
        return pixmap;
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return pixmap; // a missing image is simply not shown
    QImageReader reader(&file, "png");
    reader.setAutoDetectImageFormat(false);
    pixmap = QPixmap::fromImage(reader.read());
    if (!pixmap.isNull())
        QPixmapCache::insert(resourcePath, pixmap);
    return pixmap;
}
