#ifndef INSTALLEROUTCOME_H
#define INSTALLEROUTCOME_H

#include <QList>
#include <QMetaType>
#include <QString>

// How one uninstall by Windows Installer ended.
struct InstallerOutcome
{
    enum Status {
        Succeeded, // exit code 0
        NotInstalled, // 1605: nothing to uninstall, the clean-up still runs
        RestartRequired, // 1641 or 3010: done, the computer must restart
        AnotherInstallation, // 1618: another installation was in progress; retry later
        Failed, // any other exit code
        Crashed, // the installer process died
        NotStarted, // the installer program could not be started
        TimedOut, // still running when the time limit came; left to finish on its own
    };

    QString displayName; // the package, "PELDA+ 2015 DEU" or the suite
    Status status = NotStarted;
    int exitCode = 0; // as the installer reported it, meaningful for the two failures by code
    // The system's words for NotStarted ("The system cannot find the file specified. (error
    // 2)"), and how a Crashed installer ended ("exception 0xC0000005", "signal 6: Aborted").
    QString detail = QString();

    bool isFailure() const
    {
        return status == AnotherInstallation || status == Failed || status == Crashed
            || status == NotStarted || status == TimedOut;
    }

    friend bool operator==(const InstallerOutcome &a, const InstallerOutcome &b)
    {
        return a.displayName == b.displayName && a.status == b.status && a.exitCode == b.exitCode
            && a.detail == b.detail;
    }
};

using InstallerOutcomes = QList<InstallerOutcome>;

Q_DECLARE_METATYPE(InstallerOutcome)

#endif // INSTALLEROUTCOME_H
