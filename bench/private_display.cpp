#include "private_display.h"

#include <X11/Xutil.h>

#include <poll.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A window may vanish between listing and asking; such errors are expected while polling.
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// Reads the display number that Xvfb writes to -displayfd once it accepts connections.
std::string readDisplayNumber(int fd) {
    std::string number;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n')
        number.push_back(c);
    return number;
}

} // namespace

PrivateDisplay::PrivateDisplay() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    const std::string fd = std::to_string(pipeFds[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"Xvfb",        "-displayfd", fd.c_str(), "-screen", "0",
                          "1024x768x24", "-nolisten",  "tcp",      "-wr",     nullptr};
    const int spawned =
        posix_spawnp(&m_server, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start Xvfb: " + std::string(std::strerror(spawned)));
    }
    const std::string number = readDisplayNumber(pipeFds[0]);
    close(pipeFds[0]);
    if (number.empty()) {
        kill(m_server, SIGTERM);
        waitpid(m_server, nullptr, 0);
        throw std::runtime_error("Xvfb did not start");
    }
    m_name = ":" + number;
    m_display = XOpenDisplay(m_name.c_str());
    if (m_display == nullptr) {
        kill(m_server, SIGTERM);
        waitpid(m_server, nullptr, 0);
        throw std::runtime_error("cannot connect to " + m_name);
    }
    XSetErrorHandler(ignoreXErrors);
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
}

PrivateDisplay::~PrivateDisplay() {
    XCloseDisplay(m_display);
    kill(m_server, SIGTERM);
    waitpid(m_server, nullptr, 0);
}

void PrivateDisplay::discardEvents() const {
    XEvent event;
    while (XPending(m_display) > 0)
        XNextEvent(m_display, &event);
}

Window PrivateDisplay::waitForMappedWindow(const std::string& title,
                                           int timeoutMilliseconds) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    for (;;) {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type != MapNotify)
                continue;
            char* name = nullptr;
            const bool titled = XFetchName(m_display, event.xmap.window, &name) != 0 &&
                                name != nullptr && title == name;
            if (name != nullptr)
                XFree(name);
            if (titled)
                return event.xmap.window;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return 0;
        pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left));
    }
}

bool PrivateDisplay::showsBlackAt(Window window, const int (*points)[2], int count) const {
    const Window root = DefaultRootWindow(m_display);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(m_display, window, &attributes) == 0)
        return false;
    for (int i = 0; i < count; ++i) {
        int x = 0;
        int y = 0;
        Window child = 0;
        if (XTranslateCoordinates(m_display, window, root, points[i][0],
                                  attributes.height - points[i][1], &x, &y, &child) == 0)
            return false;
        // Read from the root: it is always viewable, and shows what is on the screen.
        XImage* image = XGetImage(m_display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        if (pixel != 0)
            return false;
    }
    return true;
}
