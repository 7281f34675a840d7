#ifndef REGISTRYBACKUP_H
#define REGISTRYBACKUP_H

#include "outputfile.h"
#include "registrysubtree.h"

#include <QByteArray>
#include <QString>

class RegistryKey;

// A file that brings deleted registry keys back: a registry editor export ("Windows Registry
// Editor Version 5.00", UTF-16LE with a byte order mark, CR LF line ends), to which each key is
// added, with everything below it, before it is deleted. `reg import FILE` restores them.
//
// The file is created, private, with its header, when the first key is added, and stays open
// for the object's life; each key is appended to it. A file that exists already must be such an
// export, and the program's own (OutputFile: no link, one hard link, its owner the account
// running the program or the system's, nobody else may write it): keys are only ever added to
// its end, so that the backups of several runs can share one file; anything else is left alone
// and takes no key. A file changed by someone else during the run takes no further key.
class RegistryBackup
{
public:
    explicit RegistryBackup(const QString &fileName);

    // Why keys cannot be added to the file; empty when they can. Creates and changes nothing.
    QString problem() const;

    // Adds the child of exactly that name, with everything below it, to the file. Empty when
    // it was written whole and flushed to disk, or when there is no such child; otherwise why
    // not (the system's reason for a write that failed), and the file is as it was.
    QString addChild(const RegistryKey &parent, const QString &name);
    // Adds the keys to the file, as addChild() does. Keys whose names hold a line break or a
    // NUL cannot be written faithfully in the format and are refused.
    QString add(const RegistrySubtree &subtree);

    // The keys as the registry editor exports them: a "[path]" line, the values, a blank line.
    static QString exportText(const RegistrySubtree &subtree);

private:
    QString open();
    QString append(const QByteArray &bytes);
    static QString checkContent(const QByteArray &bytes);
    static QString unwritableName(const RegistrySubtree &subtree);
    QString failure(const QString &why) const;
    static QString valueLine(const RegistryValue &value);
    static QString hexData(const QString &start, const QByteArray &data);

    QString m_fileName;
    OutputFile m_file;
    qint64 m_end = 0; // where this run's last write ended
    QByteArray m_start; // the header, before the first key of a new file
    QByteArray m_separator; // what makes the next key begin after a blank line
};

#endif // REGISTRYBACKUP_H
