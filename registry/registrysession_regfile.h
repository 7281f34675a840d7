#ifndef REGISTRYSESSION_REGFILE_H
#define REGISTRYSESSION_REGFILE_H

#include "regfile.h"
#include "registrysession.h"

#include <QHash>
#include <QString>

#include <optional>

// The stand-in's part of a session: each export file as last read or written, with what
// identified it on disk then (device, inode, size, change and modification times to the
// nanosecond). Every save replaces the file by a new one, so any change underneath shows.
class RegistrySession::Files
{
public:
    // A file as read: nothing when there is none; nothing, with damage saying why, when it
    // cannot be read or does not parse.
    struct Content
    {
        std::optional<RegFile> registry;
        QString damage;
    };
    // Reads and parses the file now, keeping nothing.
    static Content readNow(const QString &fileName);

    // The file as it now reads: from memory when it has not changed since it was last read or
    // written here.
    Content read(const QString &fileName);
    // The same, but checked byte for byte against the file before a change is based on it: a
    // file replaced within the same clock tick by one of the same size may look unchanged.
    Content readForChange(const QString &fileName);
    // What a save has just written.
    void written(const QString &fileName, const RegFile &registry);
    void forget(const QString &fileName);

    // The hive file loaded under a mount name below HKEY_USERS, while it is loaded.
    void mount(const QString &mountName, const QString &fileName);
    void unmount(const QString &mountName);
    std::optional<QString> mountedFile(const QString &mountName) const;

private:
    struct Stamp
    {
        bool exists = false;
        qint64 device = 0, inode = 0, size = 0, changed = 0, modified = 0;
        bool operator==(const Stamp &other) const;
    };
    static Stamp stamp(const QString &fileName);

    struct Cached
    {
        Stamp stamp;
        Content content;
    };
    QHash<QString, Cached> m_files;
    QHash<QString, QString> m_mounts; // by case-folded mount name
};

#endif // REGISTRYSESSION_REGFILE_H
