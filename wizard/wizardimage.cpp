#include "wizardimage.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon> // qt_findAtNxFile: the lookup of "@2x" files that QIcon and rich text use
#include <QImageReader>
#include <QPixmapCache>

#include <utility>

namespace {

QImage read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&file, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A label paints its pixmap without smoothing, so a @2x picture on a 150 % display would be
// thinned out pixel by pixel. Resampled smoothly once here, it is painted one to one.
QImage fitToRatio(QImage image, qreal ratio)
{
    if (ratio <= 1.0 || qFuzzyCompare(image.devicePixelRatio(), ratio))
        return image;
    const QSizeF logicalSize = image.deviceIndependentSize();
    const QSize target = (logicalSize * ratio).toSize();
    QImage fitted = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(ratio);
    return fitted;
}

} // namespace

QPixmap WizardImage::load(const QString &resourcePath)
{
    // The wizard is built before it is shown, so it takes the highest ratio of all screens.
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    qreal sourceRatio = 1.0;
    const QString path = qt_findAtNxFile(resourcePath, ratio, &sourceRatio);
    const QString cacheKey = path + QLatin1Char('@') + QString::number(ratio);

    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap))
        return pixmap;
    QImage image = read(path);
    if (image.isNull())
        return pixmap; // a missing image is simply not shown
    image.setDevicePixelRatio(sourceRatio);
    // Moved, so that the conversion for painting can reuse the decoded pixels.
    pixmap = QPixmap::fromImage(fitToRatio(std::move(image), ratio));
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}
