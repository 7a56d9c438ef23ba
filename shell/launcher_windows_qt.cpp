#include "launcher_windows_qt.h"

#include "helper_program.h"
#include "launch_request.h"
#include "launcher_windows.h"

#include <QDir>

#include <utility>

namespace shell {

WindowsLauncher::WindowsLauncher(QString hiddenBrowser)
    : m_hiddenBrowser(std::move(hiddenBrowser)) {}

void WindowsLauncher::openUrl(const QString& url) {
    win32::shellOpen(url.toStdWString());
}

ProcessHandle WindowsLauncher::ApriDocumento(const QString& target, const QString& parameters,
                                             std::int16_t hidden) {
    // A file's name as Windows writes it (Qt gives C:/...), so that the shell and the folder it
    // is opened in take it as it is.
    const QString file = isWebAddress(target) ? target : QDir::toNativeSeparators(target);
    const std::optional<LaunchRequest> request = buildLaunchRequest(file, parameters, hidden);
    if (!request)
        return 0;
    win32::WideLaunchRequest wide;
    wide.fMask = request->fMask;
    wide.lpVerb = request->lpVerb.toStdWString();
    wide.lpFile = request->lpFile.toStdWString();
    wide.lpParameters = request->lpParameters.toStdWString();
    wide.lpDirectory = request->lpDirectory.toStdWString();
    wide.nShow = request->nShow;
    if (isWebAddress(target) && request->nShow == kSwHide) {
        wide.lpFile = QDir::toNativeSeparators(m_hiddenBrowser).toStdWString();
        wide.lpParameters = win32::quotedArgument(wide.lpParameters);
    }
    return win32::shellExecuteEx(wide);
}

void WindowsLauncher::releaseHandle(ProcessHandle handle) {
    win32::closeProcessHandle(handle);
}

std::unique_ptr<Launcher> createSystemLauncher() {
    return std::make_unique<WindowsLauncher>(helperProgram(QStringLiteral("bviban-browser")));
}

} // namespace shell
