#include "json.h"

#include "utf8.h"

namespace cli {
namespace {

constexpr char kSostituto[] = "\xEF\xBF\xBD"; // U+FFFD

// Copies `testo` through, handing each ASCII control character to `controllo` and replacing
// what is not UTF-8; `speciale` tells the ASCII characters that `controllo` takes instead.
template <typename Speciale, typename Controllo>
void copia(std::string_view testo, std::string& uscita, Speciale speciale, Controllo controllo) {
    const auto* p = reinterpret_cast<const unsigned char*>(testo.data());
    const auto* const fine = p + testo.size();
    while (p < fine) {
        const auto* tratto = p;
        while (p < fine && *p < 0x80 && !speciale(*p)) {
            ++p;
        }
        uscita.append(reinterpret_cast<const char*>(tratto), std::size_t(p - tratto));
        if (p == fine) {
            return;
        }
        if (*p < 0x80) {
            controllo(*p++, uscita);
            continue;
        }
        char32_t codice;
        const int lunghezza = verifier::utf8::decodifica(p, fine, codice);
        if (lunghezza == 0) {
            uscita += kSostituto;
            ++p;
        } else {
            uscita.append(reinterpret_cast<const char*>(p), std::size_t(lunghezza));
            p += lunghezza;
        }
    }
}

} // namespace

void aggiungiStringaJson(std::string_view testo, std::string& uscita) {
    uscita += '"';
    copia(
        testo, uscita,
        [](unsigned char c) { return c < 0x20 || c == '"' || c == '\\' || c == 0x7F; },
        [](unsigned char c, std::string& u) {
            if (c == '"' || c == '\\') {
                u += '\\';
                u += static_cast<char>(c);
                return;
            }
            constexpr char kCifre[] = "0123456789abcdef";
            u += "\\u00";
            u += kCifre[c >> 4];
            u += kCifre[c & 0xF];
        });
    uscita += '"';
}

void aggiungiTestoPiano(std::string_view testo, std::string& uscita) {
    copia(
        testo, uscita, [](unsigned char c) { return c < 0x20 || c == 0x7F; },
        [](unsigned char, std::string& u) { u += kSostituto; });
}

} // namespace cli
