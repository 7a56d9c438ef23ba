#include "verifier_throughput.h"

#include "calcola_iban.h"
#include "program_run.h"
#include "statistics.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kIBAN = 1000000;
constexpr char kAlfabeto[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string cifre(std::mt19937& random, int quante) {
    std::string testo;
    for (int i = 0; i < quante; ++i)
        testo += kAlfabeto[random() % 10];
    return testo;
}

// One slip: 40% a changed character, 20% two adjacent ones swapped, 20% one dropped, 20% one
// added; a swap of two equal characters changes nothing and becomes a change instead.
void sbaglia(std::string& iban, std::mt19937& random) {
    const std::size_t i = random() % iban.size();
    const unsigned tipo = random() % 5;
    if (tipo == 2 && i + 1 < iban.size() && iban[i] != iban[i + 1]) {
        std::swap(iban[i], iban[i + 1]);
    } else if (tipo == 3) {
        iban.erase(i, 1);
    } else if (tipo == 4) {
        iban.insert(iban.begin() + static_cast<std::ptrdiff_t>(i), kAlfabeto[random() % 36]);
    } else {
        char c;
        do {
            c = kAlfabeto[random() % 36];
        } while (c == iban[i]);
        iban[i] = c;
    }
}

// The input file: Italian IBANs as the calculator makes them (accounts of digits, one in three
// with letters), every other one with a slip.
std::string scriviIngresso() {
    char percorso[] = "/tmp/bviban-bench-iban-XXXXXX";
    const int fd = mkstemp(percorso);
    if (fd < 0)
        throw std::runtime_error("mkstemp failed");
    close(fd);
    std::ofstream file(percorso, std::ios::binary);
    std::mt19937 random(20250301);
    for (int n = 0; n < kIBAN; ++n) {
        std::string conto = cifre(random, 1 + static_cast<int>(random() % 12));
        if (n % 3 == 0)
            conto[random() % conto.size()] = kAlfabeto[10 + random() % 26];
        const Module1::EsitoCalcolo esito = Module1::CalcolaIBAN(
            QString::fromStdString(cifre(random, 5)), QString::fromStdString(cifre(random, 5)),
            QString::fromStdString(conto));
        if (!esito.calcolato)
            throw std::runtime_error("the engine refused a sample");
        std::string iban = esito.iban.toStdString();
        if (n % 2 == 1)
            sbaglia(iban, random);
        file << iban << '\n';
    }
    if (!file)
        throw std::runtime_error("cannot write the input file");
    return percorso;
}

struct Tempi {
    double cpu = 0;
    double wall = 0;
};

// One run of the program on the file; its output goes to `uscita`.
Tempi esegui(const std::string& cli, const std::string& ingresso, const char* uscita, bool json) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, ingresso.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, uscita, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv = {const_cast<char*>(cli.c_str()), const_cast<char*>("verifica")};
    if (json)
        argv.push_back(const_cast<char*>("--json"));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const double inizio = monotonicSeconds();
    const int avviato = posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (avviato != 0)
        throw std::runtime_error("cannot start " + cli + ": " + std::strerror(avviato));
    int stato = 0;
    rusage uso{};
    wait4(pid, &stato, 0, &uso);
    const double wall = monotonicSeconds() - inizio;
    // Exit status 1: some inputs are invalid, as half of them are.
    if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 1)
        throw std::runtime_error(cli + " verifica did not end with status 1");
    const auto secondi = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return {secondi(uso.ru_utime) + secondi(uso.ru_stime), wall};
}

// The output must hold one line per input, the valid half among the valid ones.
void controllaUscita(const std::string& percorso) {
    std::ifstream file(percorso);
    std::string riga;
    int righe = 0;
    int validi = 0;
    while (std::getline(file, riga)) {
        ++righe;
        validi += riga.find("\tvalido\t") != std::string::npos ? 1 : 0;
    }
    if (righe != kIBAN || validi < kIBAN / 2 || validi > kIBAN / 2 + kIBAN / 100)
        throw std::runtime_error("unexpected output: " + std::to_string(righe) + " lines, " +
                                 std::to_string(validi) + " valid");
}

} // namespace

VerifierThroughput measureVerifierThroughput(const std::string& cli, int runs) {
    pinToCurrentProcessor();
    const std::string ingresso = scriviIngresso();
    char uscita[] = "/tmp/bviban-bench-out-XXXXXX";
    const int fd = mkstemp(uscita);
    close(fd);
    VerifierThroughput figures;
    try {
        esegui(cli, ingresso, uscita, false);
        controllaUscita(uscita);
        std::vector<double> cpu[2];
        std::vector<double> wall[2];
        for (int i = 0; i < runs; ++i) {
            for (const bool json : {false, true}) {
                const Tempi t = esegui(cli, ingresso, "/dev/null", json);
                cpu[json].push_back(kIBAN / t.cpu);
                wall[json].push_back(kIBAN / t.wall);
            }
        }
        figures = {median(cpu[0]), median(wall[0]), median(cpu[1]), median(wall[1])};
    } catch (...) {
        std::remove(ingresso.c_str());
        std::remove(uscita);
        throw;
    }
    std::remove(ingresso.c_str());
    std::remove(uscita);
    return figures;
}
