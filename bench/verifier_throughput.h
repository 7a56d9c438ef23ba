#pragma once

#include <string>

// bviban-cli verifica on standard input: 1,000,000 IBANs of its own making (half of them with
// one slip: a character changed, two swapped, one dropped or one added), from a file, output
// to /dev/null, pinned to one processor. Rates are IBANs per second of the program's processor
// time (user and system), which the machine's other work does not inflate, and per second of
// wall-clock time.
struct VerifierThroughput {
    double plainPerCpuSecond = 0;
    double plainPerSecond = 0;
    double jsonPerCpuSecond = 0;
    double jsonPerSecond = 0;
};

VerifierThroughput measureVerifierThroughput(const std::string& cli, int runs);
