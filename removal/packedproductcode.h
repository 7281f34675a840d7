#ifndef PACKEDPRODUCTCODE_H
#define PACKEDPRODUCTCODE_H

#include <QString>

// The name under which Windows Installer registers a product in
// "HKEY_CLASSES_ROOT\Installer\Products": the braced product code with the digits of its
// first three groups reversed, the digit pairs of the other eight bytes swapped, and no
// braces or hyphens.
class PackedProductCode
{
public:
    // Characters are copied as they are; positions past the end of a short input
    // contribute nothing, so the empty input packs to the empty string.
    static QString fromProductCode(const QString &productCode);
};

#endif // PACKEDPRODUCTCODE_H
