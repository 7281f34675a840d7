#ifndef EXITSTATUS_H
#define EXITSTATUS_H

#include "installeroutcome.h"
#include "keyremoval.h"
#include "removalobserver.h"
#include "userhive.h"

#include <QString>

// The program's exit code, Windows Installer's own codes so that deployment systems need no
// mapping, gathered from the steps of one removal run. When several apply, the first of
// Failure, Cancelled, AnotherInstallation and RestartRequired wins.
class ExitStatus
{
public:
    enum Code {
        Success = 0, // 1605, not installed, counts as success
        NotElevated = 5, // ERROR_ACCESS_DENIED
        UsageError = 87, // ERROR_INVALID_PARAMETER
        Failure = 1603, // ERROR_INSTALL_FAILURE
        Cancelled = 1602, // ERROR_INSTALL_USEREXIT
        AnotherInstallation = 1618, // ERROR_INSTALL_ALREADY_RUNNING
        RestartRequired = 3010, // ERROR_SUCCESS_REBOOT_REQUIRED
    };

    void addInstaller(const InstallerOutcome &outcome);
    void addKey(const KeyRemoval &removal);
    // A package the time limit kept from starting fails the run, as a time-out does.
    void addNotAttempted(RemovalObserver::NotAttempted reason);
    void setCancelled() { m_cancelled = true; }

    Code code() const;
    static QString describe(Code code);

    // A hive that could not be loaded or unloaded counts as a key that could not be removed.
    void addUserHive(const UserHive &hive);
    bool userHiveNotLoaded() const { return m_userHiveNotLoaded; }

private:
    bool m_failed = false;
    bool m_userHiveNotLoaded = false;
    bool m_cancelled = false;
    bool m_anotherInstallation = false;
    bool m_restartRequired = false;
};

#endif // EXITSTATUS_H
