#ifndef OUTPUTFILE_H
#define OUTPUTFILE_H

#include <QByteArray>
#include <QString>

#include <memory>

// A file the program writes as evidence of a run (log, report, backup) or the folder the
// installers write their logs into, reached only where an attacker cannot send it: programs
// that run as SYSTEM or elevated write where ordinary users may have prepared the path.
//
// The rules, each checked on the opened handle, not on the name:
// - nothing is written through a symbolic link, junction or other reparse point, at the file
//   itself or on the path of its folder (the handle's final path must be the path asked for);
// - an existing file with more than one hard link is refused;
// - an existing file or folder is used only when it belongs to the account running the program
//   (on Windows also SYSTEM or the Administrators group) and nobody else may write it.
// What the program creates is private: on Windows, when elevated, a protected DACL granting
// SYSTEM and Administrators full control and nobody else anything (so what the installers
// write into a folder inherits it); elsewhere mode 0600, folders 0700.
//
// The reasons given are short phrases ("it is a symbolic link") for the caller's sentence.
class OutputFile
{
public:
    OutputFile();
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Why the program may not write a file at path; empty when it may, also when nothing is
    // there yet. *identity (when given) names the file, or the place it would be created,
    // whatever the spelling of path: two paths with equal identities name one file. Creates
    // and changes nothing.
    static QString inspect(const QString &path, QString *identity = nullptr);
    // The same for a folder the installers will write into; nothing there is fine too.
    static QString inspectFolder(const QString &path, QString *identity = nullptr);
    // The identity inspect() gives a file not there yet, named name, in the folder of that
    // identity.
    static QString childIdentity(const QString &folderIdentity, const QString &name);

    // Opens the file for reading and appending; when missing and create is true, creates it
    // private. False, with errorString() saying why, when it cannot be or breaks the rules.
    bool open(const QString &path, bool create = true);
    bool isOpen() const;
    void close();
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    // The whole file from its start.
    bool readAll(QByteArray *bytes);
    qint64 size();
    // Writes all of bytes at the end, or fails with the system's reason.
    bool append(const QByteArray &bytes);
    // Flushes what was written to the disk itself.
    bool sync();
    // Cuts the file back to size bytes (after a write that failed half-way).
    bool truncate(qint64 size);
    // Whether the path still names this very file: nobody put another in its place.
    bool isStillAtPath();

    // Writes bytes to a new private file in path's folder, flushed to disk, and renames it
    // over path, so that path holds either its old content or all of the new. The folder is
    // the one asked for (no link on its path); a file at path must obey the rules above.
    // Empty on success; otherwise why not, and nothing is left behind.
    static QString replace(const QString &path, const QByteArray &bytes);

    // Creates the folder private when missing (with its missing parents), or checks the one
    // there against the rules; empty on success, otherwise why not.
    static QString makeFolder(const QString &path);

    // How a line of text ends in files of this system: CR LF on Windows, LF elsewhere.
    static QByteArray lineEnd();

    // The file or folder path names, with its folder's and its own spelling tidied
    // ("a/./b" is "a/b"), made absolute.
    static QString absolute(const QString &path);

private:
    class Handle;
    bool fail(const QString &why);

    std::unique_ptr<Handle> d;
    QString m_path;
    QString m_error;
};

#endif // OUTPUTFILE_H
