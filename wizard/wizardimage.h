#ifndef WIZARDIMAGE_H
#define WIZARDIMAGE_H

#include <QPixmap>
#include <QString>

// The wizard's images, read from the embedded resources. They are PNG files, so the reader
// is told so: left to detect the format, Qt would first load every image format plug-in and
// ask it about the file, which costs the start of the program more than the decoding itself.
class WizardImage
{
public:
    // The pixmap of a PNG resource; null when it cannot be read. Read once per process.
    static QPixmap load(const QString &resourcePath);
};

#endif // WIZARDIMAGE_H
