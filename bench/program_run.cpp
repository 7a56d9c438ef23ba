#include "program_run.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Points in the black band, away from the ticker's centred text: x from the client area's left,
// y up from its bottom (the band is the bottom 81 pixels, the banner box its bottom 55), so that
// a menu bar above the designed area moves nothing.
constexpr int kBandPoints[][2] = {{3, 58}, {460, 58}, {3, 78}};

// The caller's environment with the display, the platform plug-in and a runtime folder of the
// run's own; stray settings for tests (the offscreen platform) must not leak in.
std::vector<std::string> childEnvironment(const std::string& display,
                                          const std::string& runtimeDir) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (variable.rfind("DISPLAY=", 0) == 0 || variable.rfind("QT_QPA_PLATFORM=", 0) == 0 ||
            variable.rfind("XDG_RUNTIME_DIR=", 0) == 0 ||
            variable.rfind("WAYLAND_DISPLAY=", 0) == 0)
            continue;
        variables.push_back(variable);
    }
    variables.push_back("DISPLAY=" + display);
    variables.push_back("QT_QPA_PLATFORM=xcb");
    variables.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    return variables;
}

} // namespace

void pinToCurrentProcessor() {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
}

double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

ProgramRun::ProgramRun(const std::string& program, const PrivateDisplay& display)
    : m_display(display) {
    char pattern[] = "/tmp/bviban-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_runtimeDir = pattern;

    const std::vector<std::string> variables = childEnvironment(display.name(), m_runtimeDir);
    std::vector<char*> envp;
    for (const std::string& v : variables)
        envp.push_back(const_cast<char*>(v.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    display.discardEvents();
    m_startedAt = monotonicSeconds();
    const int spawned = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
}

ProgramRun::~ProgramRun() {
    if (m_pid != 0)
        stop();
    std::filesystem::remove_all(m_runtimeDir);
}

std::optional<double> ProgramRun::waitForFirstFrame(const std::string& title,
                                                    double timeoutSeconds) {
    const int count = static_cast<int>(std::size(kBandPoints));
    const Window window =
        m_display.waitForMappedWindow(title, static_cast<int>(timeoutSeconds * 1000));
    if (window == 0)
        return std::nullopt;
    // Mapped, but perhaps not painted yet: a few pixels are read each millisecond.
    while (monotonicSeconds() - m_startedAt < timeoutSeconds) {
        if (m_display.showsBlackAt(window, kBandPoints, count))
            return monotonicSeconds() - m_startedAt;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
}

double ProgramRun::cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which is in parentheses and may hold blanks.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0;
    unsigned long long system = 0;
    for (int number = 3; fields >> field; ++number) {
        if (number == 14)
            user = std::stoull(field);
        if (number == 15) {
            system = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ProgramRun::stop() {
    kill(m_pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(m_pid, &status, 0, &usage);
    m_pid = 0;
    return usage.ru_maxrss;
}
