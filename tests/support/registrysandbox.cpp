#include "registrysandbox.h"

#include "regfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QtTest>

RegistrySandbox::RegistrySandbox(Installer installer)
    : m_savedPath(qgetenv("PATH"))
    , m_savedRegistry(qgetenv("REMEDOR_REGISTRY"))
{
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    qputenv("REMEDOR_REGISTRY", QFile::encodeName(registryPath()));
    qputenv("REMEDOR_FAKE_MSIEXEC_LOG",
            QFile::encodeName(m_dir.filePath(QStringLiteral("msiexec.log"))));
    qputenv("REMEDOR_FAKE_MSIEXEC_ARGUMENTS",
            QFile::encodeName(m_dir.filePath(QStringLiteral("msiexec.arguments"))));
    qunsetenv("REMEDOR_FAKE_MSIEXEC_RESULTS");
    qunsetenv("REMEDOR_FAKE_MSIEXEC_DELAY_MS");
    QVERIFY(QDir(m_dir.path()).mkpath(registryFolder()));
    // Only the stand-in installer's folder, or a folder of the sandbox, is searched.
    QByteArray folder = QByteArray(REMEDOR_FAKE_MSIEXEC_DIR);
    if (installer != Installer::StandIn)
        folder = QFile::encodeName(m_dir.path());
    if (installer == Installer::Unstartable) {
        QFile script(m_dir.filePath(QStringLiteral("msiexec.exe")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/nonexistent/interpreter\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser));
    }
    qputenv("PATH", folder);
}

RegistrySandbox::~RegistrySandbox()
{
    thawRegistryFolder();
    qputenv("PATH", m_savedPath);
    if (m_savedRegistry.isEmpty())
        qunsetenv("REMEDOR_REGISTRY");
    else
        qputenv("REMEDOR_REGISTRY", m_savedRegistry);
    qunsetenv("REMEDOR_FAKE_MSIEXEC_LOG");
    qunsetenv("REMEDOR_FAKE_MSIEXEC_ARGUMENTS");
    qunsetenv("REMEDOR_FAKE_MSIEXEC_RESULTS");
    qunsetenv("REMEDOR_FAKE_MSIEXEC_DELAY_MS");
}

// The registry file lies in a folder of its own, so that it can be frozen while the
// installer's log beside it stays writable.
QString RegistrySandbox::registryFolder() const
{
    return m_dir.filePath(QStringLiteral("machine"));
}

QString RegistrySandbox::registryPath() const
{
    return registryFolder() + QStringLiteral("/registry.reg");
}

// chattr is looked for on the PATH the sandbox replaced.
QString RegistrySandbox::chattrProgram() const
{
    return QStandardPaths::findExecutable(
        QStringLiteral("chattr"), QString::fromLocal8Bit(m_savedPath).split(QLatin1Char(':')));
}

bool RegistrySandbox::freezeRegistryFolder(QString *why)
{
    QProcess chattr;
    chattr.start(chattrProgram(), { QStringLiteral("+i"), registryFolder() });
    if (!chattr.waitForFinished() || chattr.exitStatus() != QProcess::NormalExit
        || chattr.exitCode() != 0) {
        *why = QStringLiteral("chattr +i is not possible here (%1)")
                   .arg(QString::fromLocal8Bit(chattr.readAllStandardError()).trimmed()
                        + chattr.errorString());
        return false;
    }
    m_frozen = true;
    return true;
}

void RegistrySandbox::thawRegistryFolder()
{
    if (m_frozen)
        QProcess::execute(chattrProgram(), { QStringLiteral("-i"), registryFolder() });
    m_frozen = false;
}

QByteArray RegistrySandbox::encode(const QStringList &lines, bool utf16)
{
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    if (!utf16)
        return text.toUtf8();
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(encoder(text));
}

void RegistrySandbox::writeRegistry(const QStringList &lines, bool utf16)
{
    writeRegistryBytes(encode(lines, utf16));
}

void RegistrySandbox::writeRegistryBytes(const QByteArray &bytes)
{
    QFile file(registryPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray RegistrySandbox::registryBytes() const
{
    QFile file(registryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList RegistrySandbox::keys() const
{
    const std::optional<RegFile> registry = RegFile::parse(registryBytes());
    return registry ? registry->sectionPaths() : QStringList();
}

bool RegistrySandbox::hasKey(const QString &path) const
{
    return keys().contains(path, Qt::CaseInsensitive);
}

QStringList RegistrySandbox::installerCalls() const
{
    QFile log(m_dir.filePath(QStringLiteral("msiexec.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QStringList> RegistrySandbox::installerArguments() const
{
    QFile file(m_dir.filePath(QStringLiteral("msiexec.arguments")));
    QList<QStringList> calls;
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QString &call :
         QString::fromUtf8(file.readAll()).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
        calls.append(call.split(QLatin1Char('\n')));
    return calls;
}

void RegistrySandbox::setInstallerResults(const QString &rules)
{
    qputenv("REMEDOR_FAKE_MSIEXEC_RESULTS", rules.toUtf8());
}

void RegistrySandbox::setInstallerDelay(int milliseconds)
{
    qputenv("REMEDOR_FAKE_MSIEXEC_DELAY_MS", QByteArray::number(milliseconds));
}
