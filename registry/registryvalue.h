#ifndef REGISTRYVALUE_H
#define REGISTRYVALUE_H

#include <QByteArray>
#include <QString>

// One value of a registry key as the registry stores it: its type and its data, byte for byte.
struct RegistryValue
{
    // The types the registry editor writes in a form of their own; any other number is valid.
    enum Type : quint32 {
        None = 0, // REG_NONE
        String = 1, // REG_SZ, UTF-16LE with its terminating NUL
        ExpandString = 2, // REG_EXPAND_SZ
        Binary = 3, // REG_BINARY
        Dword = 4, // REG_DWORD, little-endian
        MultiString = 7, // REG_MULTI_SZ
        Qword = 11, // REG_QWORD, little-endian
    };

    QString name; // empty for the key's default value
    quint32 type = None;
    QByteArray data;

    friend bool operator==(const RegistryValue &a, const RegistryValue &b)
    {
        return a.name == b.name && a.type == b.type && a.data == b.data;
    }
};

#endif // REGISTRYVALUE_H
