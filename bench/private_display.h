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

    // Forgets the window events of earlier runs.
    void discardEvents() const;

    // Waits for a top-level window with this title to be mapped; 0 if none is within the time.
    // The map events arrive unasked, so the server is not polled while a program starts.
    Window waitForMappedWindow(const std::string& title, int timeoutMilliseconds) const;

    // True when every client-area point of the window shows black: x from its left, y up from
    // its bottom.
    bool showsBlackAt(Window window, const int (*points)[2], int count) const;

private:
    pid_t m_server = 0;
    std::string m_name;
    Display* m_display = nullptr;
};
