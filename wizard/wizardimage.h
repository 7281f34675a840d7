#ifndef WIZARDIMAGE_H
#define WIZARDIMAGE_H

#include <QPixmap>
#include <QString>

// The wizard's images, read from the embedded resources. They are PNG files, so the reader
// is told so: left to detect the format, Qt would first load every image format plug-in and
// ask it about the file, which costs the start of the program more than the decoding itself.
//
// On a display scaled above 100 % the image's "@2x" rendering is read instead, found by Qt's
// own rule (QT_HIGHDPI_DISABLE_2X_IMAGE_LOADING turns it off), and the pixmap keeps the
// original's size in device-independent pixels.
class WizardImage
{
public:
    // The pixmap of a PNG resource for the application's highest device pixel ratio; null
    // when it cannot be read. Read once per process.
    static QPixmap load(const QString &resourcePath);
};

#endif // WIZARDIMAGE_H
