#include "engine_throughput.h"

#include "calcola_iban.h"
#include "program_run.h"
#include "statistics.h"

#include <QString>

#include <array>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

volatile long long resultSink = 0;

struct Coordinates {
    QString abi;
    QString cab;
    QString account;
};

// Coordinates as users type them: short and full codes, accounts of digits, of letters and
// digits, and with the separators that people copy from statements.
std::vector<Coordinates> sampleCoordinates() {
    std::mt19937 random(20080718);
    const char* const alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const char* const separators = "-/ .";
    auto digits = [&](int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text.append(QLatin1Char(static_cast<char>('0' + random() % 10)));
        return text;
    };
    std::vector<Coordinates> sample;
    for (int i = 0; i < 4096; ++i) {
        Coordinates c{digits(4 + static_cast<int>(random() % 2)),
                      digits(3 + static_cast<int>(random() % 3)),
                      {}};
        const int length = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) {
            const bool letter = i % 3 == 1;
            c.account.append(
                QLatin1Char(letter ? alphabet[random() % 36] : alphabet[random() % 10]));
            if (i % 3 == 2 && k % 4 == 3)
                c.account.append(QLatin1Char(separators[random() % 4]));
        }
        sample.push_back(std::move(c));
    }
    return sample;
}

// The floor: MOD 97-10 of the BBAN followed by "IT00", one character at a time.
int bareCheckDigits(const std::string& bban) {
    int remainder = 0;
    auto add = [&remainder](char c) {
        remainder =
            c <= '9' ? (remainder * 10 + (c - '0')) % 97 : (remainder * 100 + (c - 'A' + 10)) % 97;
    };
    for (const char c : bban)
        add(c);
    for (const char c : {'I', 'T', '0', '0'})
        add(c);
    return 98 - remainder;
}

// Calculations per second of one part: rounds repeated for `seconds`.
template <typename Round> double perSecond(Round round, std::size_t perRound, double seconds) {
    const double start = monotonicSeconds();
    std::size_t done = 0;
    while (monotonicSeconds() - start < seconds) {
        round();
        done += perRound;
    }
    return static_cast<double>(done) / (monotonicSeconds() - start);
}

} // namespace

EngineThroughput measureEngineThroughput(double secondsEach) {
    pinToCurrentProcessor();

    const std::vector<Coordinates> sample = sampleCoordinates();
    std::vector<std::string> bbans;
    std::vector<int> expected;
    for (const Coordinates& c : sample) {
        const Module1::EsitoCalcolo result = Module1::CalcolaIBAN(c.abi, c.cab, c.account);
        if (!result.calcolato)
            throw std::runtime_error("the engine refused a sample: " + c.account.toStdString());
        bbans.push_back(result.iban.mid(4).toStdString());
        expected.push_back(result.iban.mid(2, 2).toInt());
        if (bareCheckDigits(bbans.back()) != expected.back())
            throw std::runtime_error("the floor disagrees with the engine on " + bbans.back());
    }

    // The sums, stored where the compiler must assume they are read, keep the work in.
    long long engineSum = 0;
    long long floorSum = 0;
    auto engineRound = [&] {
        for (const Coordinates& c : sample)
            engineSum += Module1::CalcolaIBAN(c.abi, c.cab, c.account).iban.at(3).unicode();
    };
    auto floorRound = [&] {
        for (const std::string& bban : bbans)
            floorSum += bareCheckDigits(bban) % 10 + '0';
    };

    // Engine and floor take turns in short parts, so that a change in the machine's load falls
    // on both alike; each figure is the median of its own parts.
    constexpr int kParts = 25;
    std::vector<double> engineRates;
    std::vector<double> floorRates;
    for (int part = 0; part < kParts; ++part) {
        engineRates.push_back(perSecond(engineRound, sample.size(), secondsEach / kParts));
        floorRates.push_back(perSecond(floorRound, bbans.size(), secondsEach / kParts));
    }
    EngineThroughput figures;
    figures.calculationsPerSecond = median(engineRates);
    figures.bareLoopPerSecond = median(floorRates);
    resultSink = engineSum + floorSum;
    return figures;
}
