#pragma once

#include "launcher.h"

#include <QList>
#include <QString>

// Records every call instead of starting anything.
class RecordingLauncher : public shell::Launcher {
public:
    struct Launch {
        QString target;
        QString parameters;
        std::int16_t hidden;
    };

    void openUrl(const QString& url) override;
    shell::ProcessHandle ApriDocumento(const QString& target, const QString& parameters,
                                       std::int16_t hidden) override;
    void releaseHandle(shell::ProcessHandle handle) override;

    QList<QString> openedUrls;
    QList<Launch> launches;
    QList<shell::ProcessHandle> released;
    // What ApriDocumento answers; 0 plays a launch that failed.
    shell::ProcessHandle nextHandle = 4242;
};
