#include "utf8.h"

namespace verifier::utf8 {

int decodifica(const unsigned char* p, const unsigned char* fine, char32_t& codice) {
    const unsigned char b = *p;
    int lunghezza = 0;
    char32_t minimo = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        lunghezza = 2;
        codice = b & 0x1F;
        minimo = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        lunghezza = 3;
        codice = b & 0x0F;
        minimo = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        lunghezza = 4;
        codice = b & 0x07;
        minimo = 0x10000;
    } else {
        return 0;
    }
    if (fine - p < lunghezza) {
        return 0;
    }
    for (int k = 1; k < lunghezza; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
        codice = (codice << 6) | (p[k] & 0x3F);
    }
    if (codice < minimo || codice > 0x10FFFF || (codice >= 0xD800 && codice <= 0xDFFF)) {
        return 0;
    }
    return lunghezza;
}

char* scrivi(char32_t c, char* uscita) {
    if (c < 0x80) {
        *uscita++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *uscita++ = static_cast<char>(0xC0 | (c >> 6));
        *uscita++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *uscita++ = static_cast<char>(0xE0 | (c >> 12));
        *uscita++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *uscita++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *uscita++ = static_cast<char>(0xF0 | (c >> 18));
        *uscita++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *uscita++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *uscita++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return uscita;
}

void aggiungi(char32_t c, std::string& uscita) {
    char byte[4];
    uscita.append(byte, scrivi(c, byte));
}

} // namespace verifier::utf8
