#include "list_throughput.h"

#include "calcola_iban.h"
#include "program_run.h"
#include "workbooks.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr long kWorkbookRows = 1048576; // the header and 1,048,575 data rows
constexpr int kWorkbookRuns = 3;

// Coordinates as Excel leaves them: ABI and CAB without their leading zeros.
struct Coordinates {
    std::mt19937 random{20080718};

    unsigned abi() { return 1000 + random() % 9000; }
    unsigned cab() { return random() % 100000; }
    unsigned long long account() { return random() % 1000000000ull * 1000 + random() % 1000; }
};

class Output {
public:
    explicit Output(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr)
            throw std::runtime_error("cannot write " + path);
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    }
    ~Output() { std::fclose(file_); }
    std::FILE* get() const { return file_; }

private:
    std::FILE* file_;
};

void writeComputeList(const std::string& path, long rows) {
    Output out(path);
    Coordinates c;
    std::fputs("Nome;ABI;CAB;Conto\r\n", out.get());
    for (long i = 0; i < rows; ++i)
        std::fprintf(out.get(), "Cliente %07ld;%u;%u;%llu\r\n", i, c.abi(), c.cab(), c.account());
}

void writeVerifyList(const std::string& path, long rows) {
    Output out(path);
    Coordinates c;
    std::fputs("Nome;IBAN\r\n", out.get());
    for (long i = 0; i < rows; ++i) {
        const std::string abi = std::to_string(c.abi());
        const std::string cab = std::to_string(c.cab());
        const std::string account = std::to_string(c.account());
        Module1::EsitoCalcoloTesto iban = Module1::CalcolaIBAN(abi, cab, account);
        if (i % 100 == 99)
            iban.iban[20] = iban.iban[20] == '9' ? '0' : static_cast<char>(iban.iban[20] + 1);
        std::fprintf(out.get(), "Cliente %07ld;%.27s\r\n", i, iban.iban.data());
    }
}

long countLines(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<char> block(1 << 20);
    long lines = 0;
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0)
        for (std::size_t i = 0; i < got; ++i)
            lines += block[i] == '\n';
    std::fclose(file);
    return lines;
}

// One run of `bviban-cli converti input -o output`, timed from outside.
ListRun convert(const std::string& cli, const std::string& input, const std::string& output,
                long dataRows) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* arguments[] = {cli.c_str(),    "converti",      input.c_str(), "-o",
                               output.c_str(), "--sovrascrivi", nullptr};
    const double start = monotonicSeconds();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, cli.c_str(), &actions, nullptr,
                                    const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid)
        throw std::runtime_error("cannot run " + cli);
    const double seconds = monotonicSeconds() - start;
    // 1: some rows carry a reason, as the mistyped IBANs do.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        throw std::runtime_error(cli + " converti " + input + " failed");
    const auto cpu = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    const double cpuSeconds = cpu(usage.ru_utime) + cpu(usage.ru_stime);
    return {static_cast<double>(dataRows) / cpuSeconds, static_cast<double>(dataRows) / seconds,
            static_cast<double>(usage.ru_maxrss) / 1024};
}

// The best of a few runs: a workbook's conversion is a second or two, which a moment of the
// machine's other work would mark.
ListRun bestOf(int runs, const std::string& cli, const std::string& input,
               const std::string& output, long dataRows) {
    ListRun best;
    for (int i = 0; i < runs; ++i) {
        const ListRun run = convert(cli, input, output, dataRows);
        best.rowsPerCpuSecond = std::max(best.rowsPerCpuSecond, run.rowsPerCpuSecond);
        best.rowsPerSecond = std::max(best.rowsPerSecond, run.rowsPerSecond);
        best.peakRssMib = std::max(best.peakRssMib, run.peakRssMib);
    }
    return best;
}

// Writes a list in a child process: the workbooks are built in memory, and a peak of the
// bench's own would be counted in the converter's (Linux charges a spawned child with its
// parent's peak until it runs the program).
void written(void (*write)(const std::string&, long), const std::string& path, long rows) {
    const pid_t pid = fork();
    if (pid == 0) {
        try {
            write(path, rows);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

ListThroughput measureListThroughput(const std::string& cli, const std::string& folder, long rows) {
    std::filesystem::create_directories(folder);
    const std::string input = folder + "/lists-input";
    const std::string output = folder + "/lists-output";
    const auto clean = [&] {
        for (const char* extension : {".csv", ".xlsx", ".ods"}) {
            std::filesystem::remove(input + extension);
            std::filesystem::remove(output + extension);
        }
    };
    ListThroughput figures;
    try {
        writeComputeList(input + ".csv", rows);
        figures.compute = convert(cli, input + ".csv", output + ".csv", rows);
        if (countLines(output + ".csv") != rows + 1)
            throw std::runtime_error("the compute run lost rows");

        writeVerifyList(input + ".csv", rows);
        figures.verify = convert(cli, input + ".csv", output + ".csv", rows);
        if (countLines(output + ".csv") != rows + 1)
            throw std::runtime_error("the verify run lost rows");

        written(writeCsvList, input + ".csv", kWorkbookRows);
        figures.csvToXlsx =
            bestOf(kWorkbookRuns, cli, input + ".csv", output + ".xlsx", kWorkbookRows - 1);
        written(writeXlsxList, input + ".xlsx", kWorkbookRows);
        figures.xlsxToCsv =
            bestOf(kWorkbookRuns, cli, input + ".xlsx", output + ".csv", kWorkbookRows - 1);
        if (countLines(output + ".csv") != kWorkbookRows)
            throw std::runtime_error("the .xlsx run lost rows");
        figures.xlsxToXlsx =
            bestOf(kWorkbookRuns, cli, input + ".xlsx", output + ".xlsx", kWorkbookRows - 1);
        std::filesystem::remove(input + ".xlsx");
        written(writeOdsList, input + ".ods", kWorkbookRows);
        figures.odsToCsv =
            bestOf(kWorkbookRuns, cli, input + ".ods", output + ".csv", kWorkbookRows - 1);
        if (countLines(output + ".csv") != kWorkbookRows)
            throw std::runtime_error("the .ods run lost rows");
        written([](const std::string& path, long) { writeClaimingWorkbook(path); }, input + ".xlsx",
                0);
        figures.claimedSize = convert(cli, input + ".xlsx", output + ".csv", 199);
    } catch (...) {
        clean();
        throw;
    }
    clean();
    return figures;
}
