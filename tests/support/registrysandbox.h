#ifndef REGISTRYSANDBOX_H
#define REGISTRYSANDBOX_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A throwaway machine for one test: a registry stand-in file named by REMEDOR_REGISTRY and
// a PATH on which the stand-in installer (or nothing) is found. The environment is restored
// when the sandbox goes.
class RegistrySandbox
{
public:
    // The stand-in installer on PATH; no installer at all; or an "msiexec.exe" that exists
    // but cannot be started (a script whose interpreter does not exist).
    enum class Installer { StandIn, None, Unstartable };

    explicit RegistrySandbox(Installer installer = Installer::StandIn);
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox &) = delete;
    RegistrySandbox &operator=(const RegistrySandbox &) = delete;

    // Writes the registry file: the version line, then the given lines, CRLF-terminated.
    void writeRegistry(const QStringList &lines, bool utf16 = false);
    void writeRegistryBytes(const QByteArray &bytes);
    QByteArray registryBytes() const;
    QString registryPath() const;

    // Paths of every key section in the registry file, in file order.
    QStringList keys() const;
    bool hasKey(const QString &path) const;

    // The command lines the stand-in installer was started with, in order.
    QStringList installerCalls() const;
    // Each call's arguments, as the installer received them.
    QList<QStringList> installerArguments() const;

    // Knobs of the stand-in installer.
    void setInstallerResults(const QString &rules);
    void setInstallerDelay(int milliseconds);

    // Makes the registry file's folder immutable (chattr +i), so that no save can succeed;
    // false, with the reason in *why, where this machine does not allow it (not root, or a
    // file system without the attribute). The sandbox thaws it when it goes.
    bool freezeRegistryFolder(QString *why);
    void thawRegistryFolder();

    static QByteArray encode(const QStringList &lines, bool utf16);

private:
    QString registryFolder() const;
    QString chattrProgram() const;

    QTemporaryDir m_dir;
    bool m_frozen = false;
    QByteArray m_savedPath;
    QByteArray m_savedRegistry;
};

#endif // REGISTRYSANDBOX_H
