#ifndef RUNLOCK_H
#define RUNLOCK_H

#include <QString>

// One removal at a time on the machine. Two runs at once (a start-up script and a deployment
// agent, an administrator's wizard and a deployment) would interleave installers and key
// deletions and could load the same user hive twice; each program therefore holds this lock for
// its whole run, and a second one gives up at once rather than wait for an end nobody can
// foresee. On Windows the lock is a mutex in the Global\ namespace, which every session sees; on
// the stand-ins an advisory lock on a file beside the registry file, the stand-in's machine.
// Held until the object is destroyed, or until the process ends, however it ends.
class RunLock
{
public:
    enum class Outcome { Held, Busy, Failed };

    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    // Takes the lock without waiting: Held, Busy while another run holds it, or Failed with
    // error() saying why the lock could not even be tried.
    Outcome acquire();
    QString error() const { return m_error; }

private:
    void release();

    // The mutex's HANDLE on Windows, the lock file's descriptor elsewhere.
    qintptr m_handle = -1;
    QString m_error;
};

#endif // RUNLOCK_H
