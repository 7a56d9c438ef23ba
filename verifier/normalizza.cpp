#include "normalizza.h"

#include "utf8.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace verifier {
namespace {

enum class Classe : std::uint8_t {
    Altro,
    Tenuto,
    Minuscola,
    Spazio,
    Separatore,
    DuePunti,
    Esteso, // the first byte of a character beyond ASCII, or no character at all
};

constexpr std::array<Classe, 256> kClassi = [] {
    std::array<Classe, 256> classi{};
    for (int b = 0x80; b < 0x100; ++b) {
        classi[b] = Classe::Esteso;
    }
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
enum class Ultimo : std::uint8_t { Niente, Carattere, Separatore };

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

// Whether the text at `p` starts with `cercata` (ASCII capitals) in any case; moves past it,
// counting its bytes as characters.
bool parola(const unsigned char*& p, const unsigned char* fine, std::string_view cercata,
            std::uint32_t& caratteri) {
    if (std::size_t(fine - p) < cercata.size()) {
        return false;
    }
    for (std::size_t i = 0; i < cercata.size(); ++i) {
        const unsigned char c = p[i];
        if ((c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != static_cast<unsigned char>(cercata[i])) {
            return false;
        }
    }
    p += cercata.size();
    caratteri += static_cast<std::uint32_t>(cercata.size());
    return true;
}

// "n.", "n°" or "nr." after the label, as in "IBAN n. IT60...".
bool numero(const unsigned char*& p, const unsigned char* fine, std::uint32_t& caratteri) {
    const unsigned char* q = p;
    std::uint32_t c = caratteri;
    if (!parola(q, fine, "N", c)) {
        return false;
    }
    if (parola(q, fine, "\xC2\xB0", c)) {
        --c; // the degree sign: two bytes, one character
    } else if (!parola(q, fine, ".", c) && !parola(q, fine, "R.", c)) {
        return false;
    }
    p = q;
    caratteri = c;
    return true;
}

// Past the labels that people paste before an IBAN, as often as they are written: "IBAN",
// "Codice IBAN", each with a colon or with "n.", "n°" or "nr." after it, in any case.
const unsigned char* dopoLeEtichette(const unsigned char* p, const unsigned char* fine,
                                     std::uint32_t& caratteri) {
    // Most texts start with their IBAN: a letter or digit, and not the "C" of "Codice" nor the
    // "IB" of "IBAN".
    if (fine - p >= 2 && (kClassi[*p] == Classe::Tenuto || kClassi[*p] == Classe::Minuscola)) {
        const unsigned char prima = *p | 0x20;
        if (prima != 'c' && (prima != 'i' || (p[1] | 0x20) != 'b')) {
            return p;
        }
    }
    for (;;) {
        std::uint32_t c = caratteri;
        const unsigned char* q = dopoGliSpazi(p, fine, c);
        const unsigned char* codice = q;
        std::uint32_t dopoCodice = c;
        if (parola(codice, fine, "CODICE", dopoCodice)) {
            const unsigned char* spaziato = dopoGliSpazi(codice, fine, dopoCodice);
            const unsigned char* etichetta = spaziato;
            std::uint32_t dopoEtichetta = dopoCodice;
            if (spaziato != codice && parola(etichetta, fine, kEtichetta, dopoEtichetta)) {
                q = spaziato;
                c = dopoCodice;
            }
        }
        if (!parola(q, fine, kEtichetta, c)) {
            return p;
        }
        std::uint32_t dopo = c;
        const unsigned char* r = dopoGliSpazi(q, fine, dopo);
        if (parola(r, fine, ":", dopo) || (r != q && numero(r, fine, dopo))) {
            q = r;
            c = dopo;
        }
        p = q;
        caratteri = c;
    }
}

} // namespace

const unsigned char* dopoGliSpazi(const unsigned char* p, const unsigned char* fine,
                                  std::uint32_t& caratteri) {
    while (p < fine) {
        if (*p == ' ' || *p == '\t') {
            ++p;
        } else {
            char32_t codice = 0;
            const int lunghezza = *p >= 0x80 ? utf8::decodifica(p, fine, codice) : 0;
            if (lunghezza == 0 || !spazioUnicode(codice)) {
                break;
            }
            p += lunghezza;
        }
        ++caratteri;
    }
    return p;
}

bool normalizza(std::string_view testo, std::string& elettronico, Rifiuto& rifiuto,
                Inizio& inizio) {
    // Never longer than the text: written in place, then cut to size.
    elettronico.resize(testo.size());
    char* const primo = elettronico.data();
    char* scritto = primo;
    const auto* const dati = reinterpret_cast<const unsigned char*>(testo.data());
    const auto* const fine = dati + testo.size();
    std::uint32_t posizione = 0;
    const auto* p = dopoLeEtichette(dati, fine, posizione);
    inizio = {std::size_t(p - dati), posizione, 0};
    Ultimo ultimo = Ultimo::Niente;
    char separatore = 0;
    std::uint32_t posizioneSeparatore = 0;

    while (p < fine) {
        // Most texts are runs of digits and capitals: copied at once.
        const auto* fineTratto = p;
        while (fineTratto < fine && kClassi[*fineTratto] == Classe::Tenuto) {
            ++fineTratto;
        }
        if (fineTratto != p) {
            const auto lunghezza = static_cast<std::size_t>(fineTratto - p);
            std::memcpy(scritto, p, lunghezza);
            scritto += lunghezza;
            posizione += static_cast<std::uint32_t>(lunghezza);
            p = fineTratto;
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
                // Only after a label, which dopoLeEtichette has taken.
                return rifiuta(rifiuto, b, posizione, false, true);
            case Classe::Altro:
            case Classe::Esteso:
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

    // A label written apart ("I B A N", "I-BAN") goes too, as often as it was; so the electronic
    // form never starts with it, and normalising it again changes nothing.
    std::size_t etichette = 0;
    const std::size_t scritti = std::size_t(scritto - primo);
    while (scritti - etichette >= kLunghezzaEtichetta &&
           std::memcmp(primo + etichette, kEtichetta, kLunghezzaEtichetta) == 0) {
        etichette += kLunghezzaEtichetta;
    }
    if (etichette > 0) {
        std::memmove(primo, primo + etichette, scritti - etichette);
    }
    elettronico.resize(scritti - etichette);
    inizio.tolti = etichette;
    return true;
}

std::uint32_t posizioneNelTesto(std::string_view testo, const Inizio& inizio, std::size_t indice) {
    const auto* p = reinterpret_cast<const unsigned char*>(testo.data()) + inizio.byte;
    const auto* const fine = reinterpret_cast<const unsigned char*>(testo.data()) + testo.size();
    std::uint32_t posizione = inizio.caratteri;
    std::size_t daSaltare = inizio.tolti + indice;
    while (p < fine) {
        ++posizione;
        const Classe classe = kClassi[*p];
        if (classe == Classe::Tenuto || classe == Classe::Minuscola) {
            if (daSaltare-- == 0) {
                break;
            }
        }
        char32_t codice = 0;
        const int lunghezza = *p >= 0x80 ? utf8::decodifica(p, fine, codice) : 0;
        p += lunghezza > 0 ? lunghezza : 1;
    }
    return posizione;
}

} // namespace verifier
