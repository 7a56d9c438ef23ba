// bviban-bench <bviban> <bare-window> <bviban-cli>: start-up, peak memory, idle CPU and engine
// throughput, each measured in the same run as its floor, and the verifier's and the list
// converter's throughput on the command line, printed as one table.
// BENCH_RUNS (default 41) start-ups of each program; BENCH_IDLE_SECONDS (default 60);
// BENCH_VERIFIER_RUNS (default 5) runs of each verifier figure; BENCH_LIST_ROWS (default
// 10,000,000) rows of each CSV list that bviban-cli converti converts, in the bench's folder;
// the workbooks have 1,048,576 rows. BENCH_LISTS_ONLY (set to anything) measures only the
// converter.

#include "engine_throughput.h"
#include "list_throughput.h"
#include "private_display.h"
#include "program_run.h"
#include "statistics.h"
#include "verifier_throughput.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kProgramTitle[] = "Quorvel by Brivanta";
constexpr char kFloorTitle[] = "Bare window";
constexpr double kFirstFrameTimeout = 30;

struct StartUp {
    std::vector<double> seconds;
    std::vector<double> peakRssKib;
};

int environmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

void startOnce(const std::string& program, const std::string& title, const PrivateDisplay& display,
               StartUp* figures) {
    ProgramRun run(program, display);
    const std::optional<double> firstFrame = run.waitForFirstFrame(title, kFirstFrameTimeout);
    if (!firstFrame)
        throw std::runtime_error(program + " showed no first frame within the time-out");
    // Let the start-up settle before reading the peak memory.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long peak = run.stop();
    if (figures != nullptr) {
        figures->seconds.push_back(*firstFrame);
        figures->peakRssKib.push_back(static_cast<double>(peak));
    }
}

struct IdleCpu {
    double programPercent = 0;
    double floorPercent = 0;
};

// Both programs idle for the same minute, each on a display of its own so that neither hides
// the other (a hidden window would paint less).
IdleCpu measureIdle(const std::string& program, const std::string& floor, int seconds) {
    PrivateDisplay programDisplay;
    PrivateDisplay floorDisplay;
    ProgramRun programRun(program, programDisplay);
    ProgramRun floorRun(floor, floorDisplay);
    if (!programRun.waitForFirstFrame(kProgramTitle, kFirstFrameTimeout) ||
        !floorRun.waitForFirstFrame(kFloorTitle, kFirstFrameTimeout))
        throw std::runtime_error("no first frame for the idle run");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double programStart = programRun.cpuSeconds();
    const double floorStart = floorRun.cpuSeconds();
    const double start = monotonicSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double elapsed = monotonicSeconds() - start;
    return {100 * (programRun.cpuSeconds() - programStart) / elapsed,
            100 * (floorRun.cpuSeconds() - floorStart) / elapsed};
}

// A ratio of 0 means that the figure has a fixed target rather than one relative to its floor.
void printRow(const char* figure, double program, double floor, double ratio, const char* target,
              bool met) {
    char ratioText[16] = "-";
    if (ratio > 0)
        std::snprintf(ratioText, sizeof ratioText, "%.2fx", ratio);
    std::printf("| %-44s | %12.4g | %12.4g | %7s | %-14s | %-6s |\n", figure, program, floor,
                ratioText, target, met ? "met" : "MISSED");
}

// A figure without a floor to compare with; an empty target has no verdict.
void printFigure(const char* figure, double program, const char* target, bool met) {
    std::printf("| %-44s | %12.4g | %12s | %7s | %-14s | %-6s |\n", figure, program, "-", "-",
                target,
                *target == '\0' ? ""
                : met           ? "met"
                                : "MISSED");
}

// The machine's load as the lists' runs start: their wall-clock rates are for a quiet machine.
double loadAverage() {
    double load[1] = {-1};
    getloadavg(load, 1);
    return load[0];
}

// bviban-cli converti's figures.
void printListFigures(const ListThroughput& lists, double load) {
    char label[64];
    printFigure("converti, machine load at start (1 min)", load, "", true);
    printFigure("converti compute, rows/s per CPU s", lists.compute.rowsPerCpuSecond,
                ">= 3,000,000", lists.compute.rowsPerCpuSecond >= 3e6);
    printFigure("converti compute, rows/s wall-clock", lists.compute.rowsPerSecond, "", true);
    printFigure("converti compute, peak RSS, MiB", lists.compute.peakRssMib, "<= 64",
                lists.compute.peakRssMib <= 64);
    printFigure("converti verify, rows/s per CPU s", lists.verify.rowsPerCpuSecond, ">= 2,000,000",
                lists.verify.rowsPerCpuSecond >= 2e6);
    printFigure("converti verify, rows/s wall-clock", lists.verify.rowsPerSecond, "", true);
    printFigure("converti verify, peak RSS, MiB", lists.verify.peakRssMib, "<= 64",
                lists.verify.peakRssMib <= 64);
    const struct {
        const char* name;
        const ListRun& run;
        double target;
        const char* targetText;
    } workbooks[] = {
        {".xlsx -> CSV", lists.xlsxToCsv, 1e6, ">= 1,000,000"},
        {".ods -> CSV", lists.odsToCsv, 7e5, ">= 700,000"},
        {"CSV -> .xlsx", lists.csvToXlsx, 3e5, ">= 300,000"},
        {".xlsx -> .xlsx", lists.xlsxToXlsx, 2.5e5, ">= 250,000"},
    };
    for (const auto& w : workbooks) {
        std::snprintf(label, sizeof label, "converti %s, rows/s wall-clock", w.name);
        printFigure(label, w.run.rowsPerSecond, w.targetText, w.run.rowsPerSecond >= w.target);
        std::snprintf(label, sizeof label, "converti %s, rows/s per CPU s", w.name);
        printFigure(label, w.run.rowsPerCpuSecond, "", true);
        std::snprintf(label, sizeof label, "converti %s, peak RSS, MiB", w.name);
        printFigure(label, w.run.peakRssMib, "<= 64", w.run.peakRssMib <= 64);
    }
    printFigure("converti 4 GB claimed, peak RSS, MiB", lists.claimedSize.peakRssMib, "<= 64",
                lists.claimedSize.peakRssMib <= 64);
}

void printHeader() {
    std::printf("| %-44s | %12s | %12s | %7s | %-14s | %-6s |\n", "figure", "bviban", "floor",
                "ratio", "target", "");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(14, '-').c_str(),
                std::string(14, '-').c_str(), std::string(9, '-').c_str(),
                std::string(16, '-').c_str(), std::string(8, '-').c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <bviban> <bare-window> <bviban-cli>\n", argv[0]);
        return 2;
    }
    const std::string program = argv[1];
    const std::string floor = argv[2];
    const std::string cli = argv[3];
    const int runs = environmentNumber("BENCH_RUNS", 41);
    const int idleSeconds = environmentNumber("BENCH_IDLE_SECONDS", 60);

    const long listRows = environmentNumber("BENCH_LIST_ROWS", 10000000);
    const std::string benchFolder = std::filesystem::path(argv[0]).parent_path().string();
    try {
        // Only the converter's figures, to compare two builds of it.
        if (std::getenv("BENCH_LISTS_ONLY") != nullptr) {
            std::fprintf(stderr, "bench: bviban-cli converti on lists of %ld rows\n", listRows);
            const double load = loadAverage();
            const ListThroughput lists = measureListThroughput(cli, benchFolder, listRows);
            printHeader();
            printListFigures(lists, load);
            return 0;
        }
        StartUp programStart;
        StartUp floorStart;
        {
            PrivateDisplay display;
            std::fprintf(stderr, "bench: %d start-ups of each on %s\n", runs,
                         display.name().c_str());
            // One unmeasured start of each fills the caches; then the two alternate.
            startOnce(program, kProgramTitle, display, nullptr);
            startOnce(floor, kFloorTitle, display, nullptr);
            for (int i = 0; i < runs; ++i) {
                startOnce(program, kProgramTitle, display, &programStart);
                startOnce(floor, kFloorTitle, display, &floorStart);
            }
        }
        std::fprintf(stderr, "bench: %d s idle\n", idleSeconds);
        const IdleCpu idle = measureIdle(program, floor, idleSeconds);
        std::fprintf(stderr, "bench: engine throughput\n");
        const EngineThroughput engine = measureEngineThroughput(5.0);
        std::fprintf(stderr, "bench: bviban-cli verifica on 1,000,000 IBANs\n");
        const VerifierThroughput verifier =
            measureVerifierThroughput(cli, environmentNumber("BENCH_VERIFIER_RUNS", 5));
        std::fprintf(stderr, "bench: bviban-cli converti on lists of %ld rows\n", listRows);
        const double load = loadAverage();
        const ListThroughput lists = measureListThroughput(cli, benchFolder, listRows);

        const double startProgram = 1000 * median(programStart.seconds);
        const double startFloor = 1000 * median(floorStart.seconds);
        // Each start of the program is set against the floor's start that follows it, so that
        // the machine's drift over the runs (other work, frequency) cancels out of the ratio.
        std::vector<double> startRatios;
        for (std::size_t i = 0; i < programStart.seconds.size(); ++i)
            startRatios.push_back(programStart.seconds[i] / floorStart.seconds[i]);
        const double startRatio = median(startRatios);
        const double rssProgram = median(programStart.peakRssKib) / 1024;
        const double rssFloor = median(floorStart.peakRssKib) / 1024;
        const double engineRatio = engine.bareLoopPerSecond / engine.calculationsPerSecond;

        printHeader();
        char label[64];
        std::snprintf(label, sizeof label, "start-up to first frame, ms (med. %d)", runs);
        printRow(label, startProgram, startFloor, startRatio, "<= 1.5x floor", startRatio <= 1.5);
        printRow("peak RSS, MiB (median)", rssProgram, rssFloor, rssProgram / rssFloor,
                 "<= 1.25x floor", rssProgram <= 1.25 * rssFloor);
        std::snprintf(label, sizeof label, "idle CPU over %d s, %% of one core", idleSeconds);
        printRow(label, idle.programPercent, idle.floorPercent, 0, "< 2%", idle.programPercent < 2);
        printRow("engine, calculations/s (floor: bare)", engine.calculationsPerSecond,
                 engine.bareLoopPerSecond, engineRatio, "<= 3x floor", engineRatio <= 3);
        printFigure("verifica, IBAN/s per CPU second", verifier.plainPerCpuSecond, ">= 3,000,000",
                    verifier.plainPerCpuSecond >= 3e6);
        printFigure("verifica, IBAN/s wall-clock", verifier.plainPerSecond, "", true);
        printFigure("verifica --json, IBAN/s per CPU s", verifier.jsonPerCpuSecond, "", true);
        printFigure("verifica --json, IBAN/s wall-clock", verifier.jsonPerSecond, "", true);
        printListFigures(lists, load);
        // The start-up ratio moves with the machine's state; its spread tells how far to trust it.
        std::printf("\nstart-up ratio over the %zu paired runs: quartiles %.2fx, %.2fx, %.2fx\n",
                    startRatios.size(), quantile(startRatios, 0.25), startRatio,
                    quantile(startRatios, 0.75));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
