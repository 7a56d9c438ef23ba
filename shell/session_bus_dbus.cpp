#include "session_bus.h"

#include <QDBusConnection>

#include <system_error>

namespace shell {

std::future<void> connectSessionBus() {
    try {
        // Qt keeps the connection (or its failure), so the bridge's request returns at once.
        return std::async(std::launch::async, [] { QDBusConnection::sessionBus(); });
    } catch (const std::system_error&) {
        // No thread to spare: the bridge connects when it needs to.
        std::promise<void> notConnected;
        notConnected.set_value();
        return notConnected.get_future();
    }
}

} // namespace shell
