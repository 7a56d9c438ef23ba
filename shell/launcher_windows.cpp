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

std::wstring quotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only before a quote, the argument's own or the closing one.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted.push_back(c);
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

} // namespace shell::win32
