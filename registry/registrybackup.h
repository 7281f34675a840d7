#ifndef REGISTRYBACKUP_H
#define REGISTRYBACKUP_H

#include "registrysubtree.h"

#include <QByteArray>
#include <QString>

class RegistryKey;

// A file that brings deleted registry keys back: a registry editor export ("Windows Registry
// Editor Version 5.00", UTF-16LE with a byte order mark, CR LF line ends), to which each key is
// added, with everything below it, before it is deleted. `reg import FILE` restores them.
//
// The file is created, with its header, when the first key is added. A file that exists
// already must be such an export: keys are only ever added to its end, so that the backups of
// several runs can share one file; anything else is left alone and takes no key.
class RegistryBackup
{
public:
    explicit RegistryBackup(const QString &fileName);

    // Why keys cannot be added to the file; empty when they can. Creates and changes nothing.
    QString problem() const;

    // Adds the child of exactly that name, with everything below it, to the file. Empty when
    // it was written whole and flushed to disk, or when there is no such child; otherwise why
    // not, and the file is as it was.
    QString addChild(const RegistryKey &parent, const QString &name) const;
    // Adds the keys to the file, as addChild() does.
    QString add(const RegistrySubtree &subtree) const;

    // The keys as the registry editor exports them: a "[path]" line, the values, a blank line.
    static QString exportText(const RegistrySubtree &subtree);

private:
    QString read(QByteArray *bytes) const;
    QString failure(const QString &why) const;
    static QString valueLine(const RegistryValue &value);
    static QString hexData(const QString &start, const QByteArray &data);

    QString m_fileName;
};

#endif // REGISTRYBACKUP_H
