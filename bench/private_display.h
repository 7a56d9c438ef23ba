#pragma once

#include <X11/Xlib.h>

#include <string>
#include <sys/types.h>

// A private X server (Xvfb) for the runs: started on a display number that it picks itself,
// with a white root window so that an unpainted window never passes for a painted one.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    const std::string& name() const { return m_name; }
    Display* connection() const { return m_display; }

    // The viewable top-level window with this title, or 0 when there is none (yet).
    Window findWindow(const std::string& title) const;

    // True when every client-area point (x, y) of the window shows black.
    bool showsBlackAt(Window window, const int (*points)[2], int count) const;

private:
    pid_t m_server = 0;
    std::string m_name;
    Display* m_display = nullptr;
};
