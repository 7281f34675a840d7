#include "platform.h"

#include <atomic>
#include <csignal>

#include <pwd.h>
#include <unistd.h>

namespace {

// A signal handler can reach nothing but a variable of static storage; a lock-free atomic
// is safe to set from it.
std::atomic_bool interrupted { false };
static_assert(std::atomic_bool::is_always_lock_free);

extern "C" void onInterrupt(int)
{
    interrupted = true;
}

} // namespace

bool Platform::isElevated()
{
    return true;
}

void Platform::catchInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Restarted, so that waiting for the installer goes on as if nothing had happened.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Platform::interruptRequested()
{
    return interrupted;
}

QString Platform::accountName()
{
    const passwd *account = getpwuid(geteuid());
    return account ? QString::fromLocal8Bit(account->pw_name) : QString::number(geteuid());
}
