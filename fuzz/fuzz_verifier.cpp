// The verifier on any bytes: it never fails; normalising its electronic form again changes
// nothing and gives the same verdict; a valid IBAN verifies valid from each of its forms; every
// suggestion is valid and one slip away from what was checked; QString callers get the same.

#include "forme.h"
#include "testi.h"
#include "verifica_iban.h"
#include "verifica_qt.h"

#include "fuzz_support.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

using verifier::Risultato;

// One character changed, two adjacent ones swapped, one dropped or one added.
bool unaSvista(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) {
        std::swap(a, b);
    }
    std::size_t inizio = 0;
    while (inizio < a.size() && a[inizio] == b[inizio]) {
        ++inizio;
    }
    std::size_t fine = 0;
    while (fine < a.size() - inizio && a[a.size() - 1 - fine] == b[b.size() - 1 - fine]) {
        ++fine;
    }
    const std::size_t diversiA = a.size() - inizio - fine;
    const std::size_t diversiB = b.size() - inizio - fine;
    if (a.size() == b.size()) {
        return diversiA == 1 ||
               (diversiA == 2 && a[inizio] == b[inizio + 1] && a[inizio + 1] == b[inizio]);
    }
    return b.size() == a.size() + 1 && diversiA == 0 && diversiB == 1;
}

void controllaValido(const Risultato& r) {
    check(verifier::motivo(r).empty());
    const Risultato cartaceo = verifier::verifica(verifier::cartaceo(r.elettronico));
    check(cartaceo.valido() && cartaceo.elettronico == r.elettronico);
    if (r.conParti()) {
        const Risultato perCampi = verifier::verifica(verifier::perCampi(r));
        check(perCampi.valido() && perCampi.elettronico == r.elettronico);
        check(std::string(r.paese()) + std::string(r.cifreControllo()) + std::string(r.cin()) +
                  std::string(r.abi()) + std::string(r.cab()) + std::string(r.conto()) ==
              r.elettronico);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view testo(reinterpret_cast<const char*>(bytes), size);
    const Risultato r = verifier::verifica(testo);
    check(r.valido() == verifier::motivo(r).empty());

    if (!r.normalizzato()) {
        check(r.rifiuto.posizione >= 1 && r.rifiuto.posizione <= size);
        check(r.elettronico.empty() && r.suggerimenti.numero == 0);
        return 0;
    }
    check(std::all_of(r.elettronico.begin(), r.elettronico.end(),
                      [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }));
    const Risultato ancora = verifier::verifica(r.elettronico);
    check(ancora.normalizzato() && ancora.elettronico == r.elettronico);
    check(ancora.esito == r.esito);

    if (r.valido()) {
        controllaValido(r);
    }
    check(!r.suggerimenti.troppi || r.suggerimenti.numero == 0);
    for (int i = 0; i < r.suggerimenti.numero; ++i) {
        const std::string_view suggerito = r.suggerimenti[i];
        check(verifier::verifica(suggerito).valido());
        check(unaSvista(r.elettronico, suggerito));
    }

    const QString qt = QString::fromUtf8(testo.data(), static_cast<qsizetype>(size));
    if (qt.toUtf8() == QByteArray(testo.data(), static_cast<qsizetype>(size))) {
        const Risultato daQt = verifier::verifica(QStringView(qt));
        check(daQt.esito == r.esito && daQt.elettronico == r.elettronico);
    }
    return 0;
}
