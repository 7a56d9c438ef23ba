#include "json.h"

#include "utf8.h"

#include <array>
#include <cstdint>

namespace cli {
namespace {

constexpr char kSostituto[] = "\xEF\xBF\xBD"; // U+FFFD

enum class Byte : std::uint8_t { Copiato, Speciale, Esteso };

// ASCII bytes copied as they are; those that `speciale` names; the bytes beyond ASCII.
template <typename Speciale> constexpr std::array<Byte, 256> tabella(Speciale speciale) {
    std::array<Byte, 256> byte{};
    for (int b = 0; b < 256; ++b) {
        byte[b] = b >= 0x80 ? Byte::Esteso : speciale(b) ? Byte::Speciale : Byte::Copiato;
    }
    return byte;
}

constexpr bool controllo(int b) {
    return b < 0x20 || b == 0x7F;
}

constexpr auto kJson = tabella([](int b) { return controllo(b) || b == '"' || b == '\\'; });
constexpr auto kPiano = tabella(controllo);

// Copies `testo` through in runs, handing each special ASCII byte and each hidden character to
// `speciale` and replacing what is not UTF-8.
template <typename Speciale>
void copia(std::string_view testo, std::string& uscita, const std::array<Byte, 256>& byte,
           Speciale speciale) {
    const auto* p = reinterpret_cast<const unsigned char*>(testo.data());
    const auto* const fine = p + testo.size();
    while (p < fine) {
        const auto* tratto = p;
        while (p < fine && byte[*p] == Byte::Copiato) {
            ++p;
        }
        uscita.append(reinterpret_cast<const char*>(tratto), std::size_t(p - tratto));
        if (p == fine) {
            return;
        }
        if (byte[*p] == Byte::Speciale) {
            speciale(*p++, uscita);
            continue;
        }
        char32_t codice;
        const int lunghezza = verifier::utf8::decodifica(p, fine, codice);
        if (lunghezza == 0) {
            uscita += kSostituto;
            ++p;
            continue;
        }
        if (verifier::utf8::nascosto(codice)) {
            speciale(codice, uscita);
        } else {
            uscita.append(reinterpret_cast<const char*>(p), std::size_t(lunghezza));
        }
        p += lunghezza;
    }
}

void unitaJson(char32_t unita, std::string& uscita) {
    constexpr char kCifre[] = "0123456789abcdef";
    uscita += "\\u";
    for (int k = 3; k >= 0; --k) {
        uscita += kCifre[(unita >> (4 * k)) & 0xF];
    }
}

} // namespace

void aggiungiStringaJson(std::string_view testo, std::string& uscita) {
    uscita += '"';
    copia(testo, uscita, kJson, [](char32_t c, std::string& u) {
        if (c == '"' || c == '\\') {
            u += '\\';
            u += static_cast<char>(c);
        } else if (c > 0xFFFF) {
            // Beyond the BMP JSON escapes a surrogate pair.
            unitaJson(0xD800 + ((c - 0x10000) >> 10), u);
            unitaJson(0xDC00 + ((c - 0x10000) & 0x3FF), u);
        } else {
            unitaJson(c, u);
        }
    });
    uscita += '"';
}

void aggiungiTestoPiano(std::string_view testo, std::string& uscita) {
    copia(testo, uscita, kPiano, [](char32_t, std::string& u) { u += kSostituto; });
}

} // namespace cli
