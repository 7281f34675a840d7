#include "windowsinstaller.h"

#include <QtTest>

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
