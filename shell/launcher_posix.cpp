#include "launcher_posix.h"

#include "helper_program.h"
#include "launch_request.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace shell {

namespace {

// Starts the program detached and returns its process id, or 0 when it cannot be started
// (missing program, missing working folder).
ProcessHandle startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory) {
    if (program.isEmpty())
        return 0;
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, workingDirectory, &pid))
        return 0;
    return static_cast<ProcessHandle>(pid);
}

QString desktopOpener() {
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

// Whether the desktop names a program for the document's type or for a type it derives from,
// as xdg-mime tells. The opener, which starts at once and fails later, would otherwise fail
// unseen. Without xdg-mime, or without its answer, the opener is left to try.
bool desktopHasProgramFor(const QString& document) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(document);
    for (const QString& name : QStringList{type.name()} + type.allAncestors()) {
        QProcess process;
        process.start(query, {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit) {
            process.kill();
            process.waitForFinished();
            return true;
        }
        if (!process.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

} // namespace

PosixLauncher::PosixLauncher(QString hiddenBrowser) : m_hiddenBrowser(std::move(hiddenBrowser)) {}

void PosixLauncher::openUrl(const QString& url) {
    startDetached(desktopOpener(), {url}, {});
}

ProcessHandle PosixLauncher::ApriDocumento(const QString& target, const QString& parameters,
                                           std::int16_t hidden) {
    const std::optional<LaunchRequest> request = buildLaunchRequest(target, parameters, hidden);
    if (!request)
        return 0;

    if (isWebAddress(target)) {
        const QString browser = request->nShow == kSwHide ? m_hiddenBrowser : desktopOpener();
        return startDetached(browser, {request->lpParameters}, {});
    }

    // A POSIX path has neither ":" nor "\", so its folder part is empty; the document's own
    // folder is then the sensible place to start it in.
    const QFileInfo document(request->lpFile);
    const QString folder =
        request->lpDirectory.isEmpty() ? document.absolutePath() : request->lpDirectory;
    if (document.isFile() && document.isExecutable())
        return startDetached(document.absoluteFilePath(),
                             QProcess::splitCommand(request->lpParameters), folder);
    // The desktop opener takes the document alone; it has no way to pass parameters on.
    if (!desktopHasProgramFor(document.absoluteFilePath()))
        return 0;
    return startDetached(desktopOpener(), {request->lpFile}, folder);
}

void PosixLauncher::releaseHandle(ProcessHandle) {}

std::unique_ptr<Launcher> createSystemLauncher() {
    return std::make_unique<PosixLauncher>(helperProgram(QStringLiteral("bviban-browser")));
}

} // namespace shell
