#include "recording_launcher.h"

void RecordingLauncher::openUrl(const QString& url) {
    openedUrls.append(url);
}

shell::ProcessHandle RecordingLauncher::ApriDocumento(const QString& target,
                                                      const QString& parameters,
                                                      std::int16_t hidden) {
    launches.append({target, parameters, hidden});
    return nextHandle;
}

void RecordingLauncher::releaseHandle(shell::ProcessHandle handle) {
    released.append(handle);
}
