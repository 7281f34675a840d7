#ifndef KEYREMOVAL_H
#define KEYREMOVAL_H

#include <QList>
#include <QMetaType>
#include <QString>

// What became of one registry key that was to be deleted.
struct KeyRemoval
{
    enum Status {
        Removed, // the key and everything below it are gone
        NotThere, // no child of exactly that name: nothing to do
        Failed, // the key is there and stays; reason says why
    };

    QString path; // the full path of the key, "HKEY_…\…\name"
    Status status = NotThere;
    QString reason; // the system's words, for Failed

    bool isFailure() const { return status == Failed; }

    friend bool operator==(const KeyRemoval &a, const KeyRemoval &b)
    {
        return a.path == b.path && a.status == b.status && a.reason == b.reason;
    }
};

using KeyRemovals = QList<KeyRemoval>;

Q_DECLARE_METATYPE(KeyRemoval)

#endif // KEYREMOVAL_H
