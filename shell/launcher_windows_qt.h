#pragma once

#include "launcher.h"

namespace shell {

// The launcher for Windows: the plain and the extended launch through the shell's wide entry
// points; the handles it returns are closed by releaseHandle.
class WindowsLauncher : public Launcher {
public:
    void openUrl(const QString& url) override;
    ProcessHandle ApriDocumento(const QString& target, const QString& parameters,
                                std::int16_t hidden) override;
    void releaseHandle(ProcessHandle handle) override;
};

} // namespace shell
