#ifndef REGISTRYKEY_H
#define REGISTRYKEY_H

#include "keyremoval.h"
#include "registrysubtree.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class RegistrySession;

// A registry key opened by its full path ("HKEY_LOCAL_MACHINE\SOFTWARE\…") for the length
// of one operation. Opening never creates the key or any key on its path; a key that does
// not exist simply has no children and no values.
//
// The backend is chosen by the build: the Windows registry (32-bit view) on Windows, and
// elsewhere a stand-in kept in a registry editor export file named by REMEDOR_REGISTRY.
class RegistryKey
{
public:
    // Within a session, what an earlier operation read is reused (see RegistrySession).
    explicit RegistryKey(const QString &path, RegistrySession *session = nullptr);
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    QString path() const { return m_path; }

    // Names of the immediate subkeys, as the registry spells them.
    QStringList childKeys() const;

    // Whether a child of exactly that name, letter case included, exists.
    bool hasChild(const QString &name) const;

    // A value read as text; empty when the value or the key is missing.
    QString stringValue(const QString &valueName) const;

    // The child of exactly that name (letter case included) with everything below it, every
    // value as stored, each key under the path where a registry import puts it back; no keys
    // when there is no such child. Nothing, and *error saying why, when it cannot be read whole.
    std::optional<RegistrySubtree> childSubtree(const QString &name, QString *error) const;

    // Deletes the child key with everything below it, but only when a child of exactly
    // that name (letter case included) exists. Says whether it went, was not there, or
    // could not be removed, and then why.
    KeyRemoval removeChildKey(const QString &name);

    // Why the registry as a whole cannot be read, so that nothing should be changed in it;
    // empty when it can. Only the stand-in's file can be damaged: the Windows registry
    // always answers.
    static QString damage();

private:
    class Backend;
    QString m_path;
    std::unique_ptr<Backend> d;
};

#endif // REGISTRYKEY_H
