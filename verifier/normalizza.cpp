#include "normalizza.h"

#include "utf8.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace verifier {
namespace {

enum class Classe : std::uint8_t { Altro, Tenuto, Minuscola, Spazio, Separatore, DuePunti };

constexpr std::array<Classe, 128> kClassi = [] {
    std::array<Classe, 128> classi{};
    for (char c = '0'; c <= '9'; ++c) {
        classi[c] = Classe::Tenuto;
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        classi[c] = Classe::Tenuto;
        classi[c - 'A' + 'a'] = Classe::Minuscola;
    }
    classi[' '] = Classe::Spazio;
    classi['\t'] = Classe::Spazio;
    classi['-'] = Classe::Separatore;
    classi['.'] = Classe::Separatore;
    classi[':'] = Classe::DuePunti;
    return classi;
}();

// What was last read, blanks aside: a separator must follow a letter or digit.
enum class Ultimo : std::uint8_t { Niente, Carattere, Separatore, DuePunti };

constexpr char kEtichetta[] = "IBAN";
constexpr std::size_t kLunghezzaEtichetta = 4;

// No-break, narrow no-break and thin spaces; zero-width space and no-break.
constexpr bool spazioUnicode(char32_t c) {
    return c == 0x00A0 || c == 0x202F || c == 0x2009 || c == 0x200B || c == 0xFEFF;
}

bool rifiuta(Rifiuto& rifiuto, char32_t carattere, std::uint32_t posizione, bool byteNonValido,
             bool fuoriPosto) {
    rifiuto = {carattere, posizione, byteNonValido, fuoriPosto};
    return false;
}

} // namespace

bool normalizza(std::string_view testo, std::string& elettronico, Rifiuto& rifiuto) {
    // Never longer than the text: written in place, then cut to size.
    elettronico.resize(testo.size());
    char* const inizio = elettronico.data();
    char* scritto = inizio;
    const auto* p = reinterpret_cast<const unsigned char*>(testo.data());
    const auto* const fine = p + testo.size();
    std::uint32_t posizione = 0;
    Ultimo ultimo = Ultimo::Niente;
    char separatore = 0;
    std::uint32_t posizioneSeparatore = 0;

    while (p < fine) {
        // Most texts are a run of digits and capitals: copied at once.
        const auto* const run = p;
        while (p < fine && *p < 0x80 && kClassi[*p] == Classe::Tenuto) {
            *scritto++ = static_cast<char>(*p++);
        }
        if (p != run) {
            posizione += static_cast<std::uint32_t>(p - run);
            ultimo = Ultimo::Carattere;
            continue;
        }
        ++posizione;
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            switch (kClassi[b]) {
            case Classe::Tenuto:
                *scritto++ = static_cast<char>(b);
                ultimo = Ultimo::Carattere;
                continue;
            case Classe::Minuscola:
                *scritto++ = static_cast<char>(b - 'a' + 'A');
                ultimo = Ultimo::Carattere;
                continue;
            case Classe::Spazio:
                continue;
            case Classe::Separatore:
                if (ultimo != Ultimo::Carattere) {
                    return rifiuta(rifiuto, b, posizione, false, true);
                }
                ultimo = Ultimo::Separatore;
                separatore = static_cast<char>(b);
                posizioneSeparatore = posizione;
                continue;
            case Classe::DuePunti:
                // Only right after the label: what was read so far is the label, and goes.
                if (ultimo != Ultimo::Carattere ||
                    std::size_t(scritto - inizio) != kLunghezzaEtichetta ||
                    std::memcmp(inizio, kEtichetta, kLunghezzaEtichetta) != 0) {
                    return rifiuta(rifiuto, b, posizione, false, true);
                }
                scritto = inizio;
                ultimo = Ultimo::DuePunti;
                continue;
            case Classe::Altro:
                return rifiuta(rifiuto, b, posizione, false, false);
            }
        }
        char32_t codice = 0;
        const int lunghezza = utf8::decodifica(p, fine, codice);
        if (lunghezza == 0) {
            return rifiuta(rifiuto, b, posizione, true, false);
        }
        if (!spazioUnicode(codice)) {
            return rifiuta(rifiuto, codice, posizione, false, false);
        }
        p += lunghezza;
    }
    if (ultimo == Ultimo::Separatore) {
        return rifiuta(rifiuto, static_cast<unsigned char>(separatore), posizioneSeparatore, false,
                       true);
    }

    // The label goes however it was written, as often as it was; so the electronic form never
    // starts with it, and normalising it again changes nothing.
    std::size_t etichette = 0;
    const std::size_t scritti = std::size_t(scritto - inizio);
    while (scritti - etichette >= kLunghezzaEtichetta &&
           std::memcmp(inizio + etichette, kEtichetta, kLunghezzaEtichetta) == 0) {
        etichette += kLunghezzaEtichetta;
    }
    if (etichette > 0) {
        std::memmove(inizio, inizio + etichette, scritti - etichette);
    }
    elettronico.resize(scritti - etichette);
    return true;
}

} // namespace verifier
