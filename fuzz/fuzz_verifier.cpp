// The verifier on any bytes: it never fails; normalising its electronic form again changes
// nothing and gives the same verdict; a position in a reason points at the character in the
// text; a valid IBAN verifies valid from each of its forms; the suggestions for an invalid one
// are exactly the valid Italian and San Marino IBANs one slip away, as trying every slip finds
// them; QString callers get the same.

#include "forme.h"
#include "module1.h"
#include "testi.h"
#include "verifica_iban.h"
#include "verifica_qt.h"

#include "fuzz_support.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <string_view>

namespace {

using verifier::Risultato;

constexpr std::string_view kAlfabeto = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
using Iban = std::array<char, 27>;

bool cifra(char c) {
    return c >= '0' && c <= '9';
}

bool lettera(char c) {
    return c >= 'A' && c <= 'Z';
}

// A valid Italian or San Marino IBAN, from the published rules and apart from the verifier's
// tables: MOD 97-10 digit by digit, the CIN by the calculator's own function. This and the next
// two check the verifier rather than being checked: they are left out of the coverage that
// guides the fuzzer, which would otherwise spend its time on them.
[[clang::no_sanitize("coverage")]] bool italianoValido(const Iban& iban) {
    const std::string_view s(iban.data(), iban.size());
    if (!(s[0] == 'I' && s[1] == 'T') && !(s[0] == 'S' && s[1] == 'M')) {
        return false;
    }
    for (std::size_t p = 2; p < s.size(); ++p) {
        const bool soloCifra = p < 4 || (p >= 5 && p < 15);
        if ((soloCifra && !cifra(s[p])) || (p == 4 && !lettera(s[p])) ||
            (!cifra(s[p]) && !lettera(s[p]))) {
            return false;
        }
    }
    const int controllo = (s[2] - '0') * 10 + (s[3] - '0');
    // Digit by digit, a remainder taken every eight characters (sixteen digits at most).
    std::uint64_t resto = 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
        const char c = s[(k + 4) % s.size()];
        resto = cifra(c) ? resto * 10 + std::uint64_t(c - '0')
                         : resto * 100 + std::uint64_t(c - 'A' + 10);
        if (k % 8 == 7) {
            resto %= 97;
        }
    }
    const auto q = [s](std::size_t da, std::size_t lunghezza) {
        return QString::fromLatin1(s.data() + da, static_cast<qsizetype>(lunghezza));
    };
    return controllo >= 2 && controllo <= 98 && resto % 97 == 1 &&
           Module1::CalcolaCIN(q(5, 5), q(10, 5), q(15, 12)) == q(4, 1);
}

[[clang::no_sanitize("coverage")]] void prova(const Iban& c, std::set<std::string>& validi) {
    if (italianoValido(c)) {
        validi.emplace(c.data(), c.size());
    }
}

// The valid Italian and San Marino IBANs one slip from `testo`, found by trying every one: each
// character changed, each adjacent pair swapped, each character dropped, each one added.
[[clang::no_sanitize("coverage")]] std::set<std::string> validiAUnaSvista(std::string_view testo) {
    std::set<std::string> validi;
    Iban c;
    const std::size_t n = c.size();
    if (testo.size() == n) {
        for (std::size_t i = 0; i < n; ++i) {
            std::copy(testo.begin(), testo.end(), c.begin());
            for (const char x : kAlfabeto) {
                c[i] = x;
                if (x != testo[i]) {
                    prova(c, validi);
                }
            }
            if (i + 1 < n && testo[i] != testo[i + 1]) {
                c[i] = testo[i + 1];
                c[i + 1] = testo[i];
                prova(c, validi);
            }
        }
    } else if (testo.size() == n - 1) {
        for (std::size_t i = 0; i < n; ++i) {
            std::copy(testo.begin(), testo.begin() + i, c.begin());
            std::copy(testo.begin() + i, testo.end(), c.begin() + i + 1);
            for (const char x : kAlfabeto) {
                c[i] = x;
                prova(c, validi);
            }
        }
    } else if (testo.size() == n + 1) {
        for (std::size_t i = 0; i < testo.size(); ++i) {
            std::copy(testo.begin(), testo.begin() + i, c.begin());
            std::copy(testo.begin() + i + 1, testo.end(), c.begin() + i);
            prova(c, validi);
        }
    }
    return validi;
}

// The character at a position counted from 1 in characters of the text, upper case; 0 when the
// text is shorter or has something else there than a letter or digit.
[[clang::no_sanitize("coverage")]] char carattereInPosizione(std::string_view testo,
                                                             std::uint32_t posizione) {
    std::uint32_t contati = 0;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        // Each character starts with a byte that does not continue another.
        if ((static_cast<unsigned char>(testo[i]) & 0xC0) != 0x80 && ++contati == posizione) {
            const char c = testo[i];
            return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return 0;
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
    if (r.esito == verifier::Esito::Struttura) {
        check(carattereInPosizione(testo, r.struttura.posizione) ==
              r.elettronico[r.struttura.indice]);
    }

    if (r.valido()) {
        controllaValido(r);
    }
    check(!r.suggerimenti.troppi || r.suggerimenti.numero == 0);
    if (!r.valido()) {
        const std::set<std::string> attesi = validiAUnaSvista(r.elettronico);
        if (attesi.size() > std::size_t(verifier::Suggerimenti::kMassimo)) {
            check(r.suggerimenti.troppi);
        } else {
            check(!r.suggerimenti.troppi && std::size_t(r.suggerimenti.numero) == attesi.size());
        }
        for (int i = 0; i < r.suggerimenti.numero; ++i) {
            const std::string_view suggerito = r.suggerimenti[i];
            check(attesi.count(std::string(suggerito)) == 1);
            check(verifier::verifica(suggerito).valido());
        }
    }

    const QString qt = QString::fromUtf8(testo.data(), static_cast<qsizetype>(size));
    if (qt.toUtf8() == QByteArray(testo.data(), static_cast<qsizetype>(size))) {
        const Risultato daQt = verifier::verifica(QStringView(qt));
        check(daQt.esito == r.esito && daQt.elettronico == r.elettronico);
    }
    return 0;
}
