#include "launch_request.h"

#include "folder_part.h"

namespace shell {

bool isWebAddress(const QString& target) {
    const QString lowered = target.toLower();
    return lowered.contains(QLatin1String("www.")) || lowered.contains(QLatin1String("http:"));
}

std::optional<LaunchRequest> buildLaunchRequest(const QString& target, const QString& parameters,
                                                std::int16_t hidden) {
    if (target.isEmpty())
        return std::nullopt;

    LaunchRequest request;
    request.fMask = kSeeMaskNoCloseProcess;
    request.lpVerb = QStringLiteral("open");
    if (isWebAddress(target)) {
        request.lpFile = kBrowserProgram;
        request.lpParameters = target;
    } else {
        request.lpFile = target;
        request.lpParameters = parameters;
        request.lpDirectory = Module1::CartellaDelPercorso(target);
    }
    request.nShow = hidden != 0 ? kSwHide : kSwShowNormal;
    return request;
}

} // namespace shell
