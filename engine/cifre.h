#pragma once

#include <QStringView>

#include <algorithm>
#include <cstdint>

// Allocation-free forms of ConvertiLettere and EstraiBlocco for the check-digit loop.
namespace Module1 {

// Writes the digits of `testo` (A-Z as 10-35, others dropped) to `cifre`, which must hold
// 2 * testo.size() characters; returns how many were written.
qsizetype convertiLettere(QStringView testo, QChar* cifre);

// Block n of `testo`, as EstraiBlocco gives it, without copying it.
inline QStringView blocco(QStringView testo, std::int16_t n) {
    constexpr qsizetype kLunghezzaBlocco = 5;
    if (n < 1) {
        return {};
    }
    const qsizetype inizio = (qsizetype(n) - 1) * kLunghezzaBlocco;
    if (inizio >= testo.size()) {
        return {};
    }
    return testo.sliced(inizio, std::min(kLunghezzaBlocco, testo.size() - inizio));
}

} // namespace Module1
