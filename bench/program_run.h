#pragma once

#include "private_display.h"

#include <optional>
#include <string>
#include <sys/types.h>

// One run of a program on the private display, watched from outside: no hook in the program.
class ProgramRun {
public:
    ProgramRun(const std::string& program, const PrivateDisplay& display);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Seconds from the spawn until the window with this title shows the black band at the
    // bottom of its client area; nothing if that does not happen within the time-out.
    std::optional<double> waitForFirstFrame(const std::string& title, double timeoutSeconds);

    // Processor time (user and system) used so far, in seconds.
    double cpuSeconds() const;

    // Ends the program and returns its peak resident set size in KiB.
    long stop();

private:
    const PrivateDisplay& m_display;
    pid_t m_pid = 0;
    double m_startedAt = 0;
    std::string m_runtimeDir;
};

double monotonicSeconds();

// Keeps this process, and the programs it starts from now on, on the processor it runs on.
void pinToCurrentProcessor();
