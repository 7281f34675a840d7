#ifndef REGISTRYSUBTREE_H
#define REGISTRYSUBTREE_H

#include "registryvalue.h"

#include <QList>
#include <QString>

// A registry key with every key below it, as read at one moment: each key once, a parent
// before its children, each with its values in the registry's order.
struct RegistrySubtree
{
    struct Key
    {
        // Where a registry import puts the key back: on 64-bit Windows, a key of the 32-bit
        // view under its WOW6432Node path.
        QString path;
        QList<RegistryValue> values;
    };

    QList<Key> keys; // empty when the key was not there

    bool isEmpty() const { return keys.isEmpty(); }
};

#endif // REGISTRYSUBTREE_H
