#include "outputfile.h"
#include "windowsinstaller.h"

#include <QtTest>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

// How the Windows backend starts an installer and reads its exit code (run in a throwaway
// Wine prefix by scripts/test-windows.sh). Programs are taken from the system folder only:
// scripts/test-windows.sh puts a decoy, which leaves a marker file when started, beside this
// test and in its working folder under the names used here.
class tst_WindowsInstaller : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exitCodes_data();
    void exitCodes();
    void unknownProduct();
    void programsBesideTheWizardAreNotStarted();
    void installerLogFolderIsPrivate();
};

void tst_WindowsInstaller::exitCodes_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("detail");

    // The whole code arrives, not only its low byte (3010 would read 194).
    QTest::newRow("0") << 0 << int(InstallerOutcome::Succeeded) << "";
    QTest::newRow("1605") << 1605 << int(InstallerOutcome::NotInstalled) << "";
    QTest::newRow("1641") << 1641 << int(InstallerOutcome::RestartRequired) << "";
    QTest::newRow("1707") << 1707 << int(InstallerOutcome::Succeeded) << "";
    QTest::newRow("3010") << 3010 << int(InstallerOutcome::RestartRequired) << "";
    QTest::newRow("1603") << 1603 << int(InstallerOutcome::Failed) << "";
    QTest::newRow("1618") << 1618 << int(InstallerOutcome::AnotherInstallation) << "";
    QTest::newRow("69") << 69 << int(InstallerOutcome::Failed) << "";
    // An access violation: an exception code, not an exit code of the program's own.
    QTest::newRow("0xC0000005") << int(0xC0000005u) << int(InstallerOutcome::Crashed)
                                << "exception 0xC0000005";
}

// cmd.exe lives in the system folder, so it stands in for an installer that ends with a
// chosen code.
void tst_WindowsInstaller::exitCodes()
{
    QFETCH(int, exitCode);
    QFETCH(int, status);
    QFETCH(QString, detail);

    const InstallerOutcome outcome = WindowsInstaller::run(
        QStringLiteral("PELDA+ 2015 DEU"), QStringLiteral("cmd.exe /c exit %1").arg(exitCode));
    QCOMPARE(outcome.displayName, QStringLiteral("PELDA+ 2015 DEU"));
    QCOMPARE(int(outcome.status), status);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.detail, detail);
}

// The system's own installer, asked to remove a product nobody installed.
void tst_WindowsInstaller::unknownProduct()
{
    const InstallerOutcome outcome = WindowsInstaller::run(
        QStringLiteral("PELDA+ 2015"),
        QStringLiteral("msiexec.exe /X{00000000-1111-2222-3333-444444444444} /quiet /passive "
                       "/norestart KEEPUSERDATA=yes"));
    QCOMPARE(int(outcome.status), int(InstallerOutcome::NotInstalled));
    QCOMPARE(outcome.exitCode, 1605);
}

void tst_WindowsInstaller::programsBesideTheWizardAreNotStarted()
{
    const QString name = QStringLiteral("remedor-decoy-installer.exe");
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name),
             "the decoy must lie beside the test");
    QVERIFY2(QFile::exists(QDir::currentPath() + QLatin1Char('/') + name),
             "the decoy must lie in the working folder");

    const InstallerOutcome outcome
        = WindowsInstaller::run(QStringLiteral("PELDA+ 2015 DEU"), name + QStringLiteral(" /X{A}"));
    QCOMPARE(int(outcome.status), int(InstallerOutcome::NotStarted));
    QVERIFY2(outcome.detail.endsWith("(error 2)"), qPrintable(outcome.detail));
    QVERIFY(outcome.isFailure());
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath()
                           + QStringLiteral("/decoy-installer-ran.txt")));
    QVERIFY(!QFile::exists(QDir::currentPath() + QStringLiteral("/decoy-installer-ran.txt")));
}

QTEST_GUILESS_MAIN(tst_WindowsInstaller)
#include "tst_windowsinstaller.moc"

namespace {

// The access list of the file or folder at path, one "SID mask" entry each, and whether it is
// protected from what its folder hands down.
QStringList accessList(const QString &path, bool *isProtected)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    QStringList entries;
    if (GetNamedSecurityInfoW(QDir::toNativeSeparators(path).toStdWString().c_str(), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &descriptor)
        != ERROR_SUCCESS)
        return { QStringLiteral("unreadable") };
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    *isProtected = control & SE_DACL_PROTECTED;
    for (DWORD index = 0; dacl && index < dacl->AceCount; ++index) {
        void *entry = nullptr;
        wchar_t *sid = nullptr;
        if (!GetAce(dacl, index, &entry)
            || !ConvertSidToStringSidW(&static_cast<ACCESS_ALLOWED_ACE *>(entry)->SidStart, &sid))
            continue;
        entries << QStringLiteral("%1 %2")
                       .arg(QString::fromWCharArray(sid))
                       .arg(static_cast<ACCESS_ALLOWED_ACE *>(entry)->Mask, 0, 16);
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return entries;
}

} // namespace

// The account this test runs as, as a SID string.
QString runningAccount()
{
    HANDLE token = nullptr;
    BYTE buffer[256];
    DWORD size = sizeof buffer;
    wchar_t *sid = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return QString();
    const bool known = GetTokenInformation(token, TokenUser, buffer, size, &size)
        && ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer)->User.Sid, &sid);
    CloseHandle(token);
    const QString text = known ? QString::fromWCharArray(sid) : QString();
    LocalFree(sid);
    return text;
}

// What an elevated run creates, and what an installer writes into its log folder, grants SYSTEM
// and the Administrators full control and nobody else anything. Wine keeps no access list: it
// turns one into the file's mode and back, so the owner's bits come back as the running account
// and nothing is inherited; what it shows is that nobody else is granted anything, where a file
// made without care grants everyone reading.
void tst_WindowsInstaller::installerLogFolderIsPrivate()
{
    QTemporaryDir scratch;
    const QString folder = scratch.filePath(QStringLiteral("logs"));
    QCOMPARE(OutputFile::makeFolder(folder), QString());
    const QString installerLog = folder + QStringLiteral("/remedor-DEU.log");
    QFile written(installerLog); // as Windows Installer creates it: with what the folder hands down
    QVERIFY(written.open(QIODevice::WriteOnly));
    written.close();
    const QString ownLog = scratch.filePath(QStringLiteral("remedor.log"));
    OutputFile own;
    QVERIFY2(own.open(ownLog), qPrintable(own.errorString()));
    own.close();
    QFile careless(scratch.filePath(QStringLiteral("careless.log")));
    QVERIFY(careless.open(QIODevice::WriteOnly));
    careless.close();

    const QString system = QStringLiteral("S-1-5-18 1f01ff");
    const QString administrators = QStringLiteral("S-1-5-32-544 1f01ff");
    const QStringList trusted
        = { QStringLiteral("S-1-5-18"), QStringLiteral("S-1-5-32-544"), runningAccount() };
    const auto nobodyElse = [&trusted](const QStringList &entries) {
        for (const QString &entry : entries) {
            if (!trusted.contains(entry.section(QLatin1Char(' '), 0, 0)))
                return false;
        }
        return !entries.isEmpty();
    };
    bool isProtected = false;
    QVERIFY(!nobodyElse(accessList(careless.fileName(), &isProtected)));
    QVERIFY2(nobodyElse(accessList(folder, &isProtected)),
             qPrintable(accessList(folder, &isProtected).join(QLatin1Char(','))));
    QVERIFY(nobodyElse(accessList(ownLog, &isProtected)));
    if (!accessList(folder, &isProtected).contains(administrators))
        return; // an access list turned into a mode
    QVERIFY(isProtected);
    QCOMPARE(accessList(folder, &isProtected), (QStringList { system, administrators }));
    QCOMPARE(accessList(ownLog, &isProtected), (QStringList { system, administrators }));
    QCOMPARE(accessList(installerLog, &isProtected), (QStringList { system, administrators }));
}
