#pragma once

#include "launcher.h"

#include <QString>
#include <QStringList>

namespace shell {

// The launcher for Linux and other POSIX desktops. Web addresses and documents that are not
// programs go to the freedesktop opener `xdg-open`, found on PATH at each call; a hidden web
// launch runs the project's own windowless browser instead, which performs the request and
// exits. Programs are started directly with their parameters, split like a command line
// (spaces separate, double quotes group). Everything started is detached: it outlives the
// launcher and never becomes its zombie. The handle is the started process's id. A document
// of a type for which the desktop names no program (xdg-mime, also through the types it
// derives from) is not handed over: 0, as Windows answers.
class PosixLauncher : public Launcher {
public:
    // `hiddenBrowser` is the path of the windowless browser program.
    explicit PosixLauncher(QString hiddenBrowser);

    void openUrl(const QString& url) override;
    ProcessHandle ApriDocumento(const QString& target, const QString& parameters,
                                std::int16_t hidden) override;
    // A process id holds no resource of ours, so there is nothing to give back.
    void releaseHandle(ProcessHandle handle) override;

private:
    QString m_hiddenBrowser;
};

} // namespace shell
