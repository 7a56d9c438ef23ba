#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace shell {

// SEE_MASK_NOCLOSEPROCESS: the shell hands back the started process.
inline constexpr std::uint32_t kSeeMaskNoCloseProcess = 0x40;
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
// Started on every web address that the extended launch opens.
inline const QString kBrowserProgram = QStringLiteral("iexplore.exe");

// What the extended launch asks of the shell: the fields of the shell's SHELLEXECUTEINFO
// record that it sets. The owner window, class, icon and hot key are always left empty.
struct LaunchRequest {
    std::uint32_t fMask = 0;
    QString lpVerb;
    QString lpFile;
    QString lpParameters;
    QString lpDirectory;
    int nShow = kSwShowNormal;
};

// True when the target contains "www." or "http:" anywhere, in any case.
bool isWebAddress(const QString& target);

// The request for ApriDocumento, or nothing for an empty target. A web address goes unchanged
// to the browser program and the parameters play no part; anything else is opened as a document
// with its parameters in its folder part. Any nonzero `hidden` asks for a hidden window.
std::optional<LaunchRequest> buildLaunchRequest(const QString& target, const QString& parameters,
                                                std::int16_t hidden);

} // namespace shell
