#pragma once

// The Windows shell calls of the launcher, kept free of Qt so that they build with any Windows
// compiler. They use the wide (UTF-16) entry points: the ANSI ones would lose every character
// outside the system code page.

#include <cstdint>
#include <string>

namespace shell::win32 {

// The launch request as the wide shell entry points take it.
struct WideLaunchRequest {
    std::uint32_t fMask = 0;
    std::wstring lpVerb;
    std::wstring lpFile;
    std::wstring lpParameters;
    std::wstring lpDirectory;
    int nShow = 1;
};

// The desktop's default handler for the address, in a normal window; the outcome is ignored.
void shellOpen(const std::wstring& url);

// ShellExecuteExW with the request; the started process's handle, or 0 when the shell failed or
// started no new process. The caller closes the handle with closeProcessHandle.
std::intptr_t shellExecuteEx(const WideLaunchRequest& request);

void closeProcessHandle(std::intptr_t handle);

// One argument as a program's command line carries it, so that the C runtime and
// CommandLineToArgvW give it back unchanged: quoted when it is empty or holds blanks or quotes,
// with the backslashes before a quote doubled.
std::wstring quotedArgument(const std::wstring& argument);

} // namespace shell::win32
