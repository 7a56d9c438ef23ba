#pragma once

#include "launcher.h"

namespace shell {

// The launcher for Windows: the plain and the extended launch through the shell's wide entry
// points; the handles it returns are closed by releaseHandle. A hidden web launch starts
// `hiddenBrowser`, the program's own windowless browser, with the address as its one argument:
// current Windows has no browser that honours a hidden window.
class WindowsLauncher : public Launcher {
public:
    explicit WindowsLauncher(QString hiddenBrowser);

    void openUrl(const QString& url) override;
    ProcessHandle ApriDocumento(const QString& target, const QString& parameters,
                                std::int16_t hidden) override;
    void releaseHandle(ProcessHandle handle) override;

private:
    QString m_hiddenBrowser;
};

} // namespace shell
