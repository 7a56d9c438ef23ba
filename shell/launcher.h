#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace shell {

// The started process: its id on POSIX systems, its process handle on Windows; 0 for none.
using ProcessHandle = std::intptr_t;

// Hands web addresses and documents to the operating system. Windows receive it through their
// constructors; each platform has its own implementation.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Plain open: the desktop's default handler, in a normal window. Nothing is reported.
    virtual void openUrl(const QString& url) = 0;

    // Extended launch. A web address (www. or http: anywhere, any case) starts the browser
    // program on it; anything else is opened as a document with its parameters in its folder.
    // Any nonzero `hidden` asks for a hidden window. Returns the started process, or 0.
    virtual ProcessHandle ApriDocumento(const QString& target, const QString& parameters,
                                        std::int16_t hidden) = 0;

    // Gives back a handle that ApriDocumento returned and the caller no longer needs.
    virtual void releaseHandle(ProcessHandle handle) = 0;
};

// The launcher of the platform the program was built for.
std::unique_ptr<Launcher> createSystemLauncher();

} // namespace shell
