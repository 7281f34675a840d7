#include "platform.h"

#include "packedproductcode.h"
#include "registrykey.h"
#include "registrypaths.h"

#include <atomic>
#include <csignal>

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

bool Platform::isProductInstalled(const QString &productCode)
{
    return RegistryKey(RegistryPaths::installerProducts())
        .childKeys()
        .contains(PackedProductCode::fromProductCode(productCode), Qt::CaseInsensitive);
}
