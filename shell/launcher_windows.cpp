#include "launcher_windows.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>

namespace shell::win32 {

void shellOpen(const std::wstring& url) {
    ShellExecuteW(nullptr, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::intptr_t shellExecuteEx(const WideLaunchRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = request.fMask;
    info.hwnd = nullptr;
    info.lpVerb = request.lpVerb.c_str();
    info.lpFile = request.lpFile.c_str();
    info.lpParameters = request.lpParameters.c_str();
    info.lpDirectory = request.lpDirectory.c_str();
    info.nShow = request.nShow;
    if (!ShellExecuteExW(&info))
        return 0;
    return reinterpret_cast<std::intptr_t>(info.hProcess);
}

void closeProcessHandle(std::intptr_t handle) {
    if (handle != 0)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
}

} // namespace shell::win32
