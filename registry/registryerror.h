#ifndef REGISTRYERROR_H
#define REGISTRYERROR_H

#include "keyremoval.h"

#include <QString>

// How a Windows registry function's result reads as the outcome of deleting one key: success
// is Removed, a key that is not found is NotThere, and anything else is Failed with the
// system's own words for the error. Windows only.
class RegistryError
{
public:
    static KeyRemoval removalAfter(const QString &path, long errorCode);
    // The system's text for the error, with its number: "Access is denied. (error 5)".
    static QString message(long errorCode);
};

#endif // REGISTRYERROR_H
