#include "utf8.h"

#include <QChar>

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

bool nascosto(char32_t codice) {
    switch (QChar::category(codice)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool leggibile(char32_t codice) {
    switch (QChar::category(codice)) {
    case QChar::Separator_Space:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return false;
    default:
        // The Hangul fillers and the blank Braille pattern are letters and symbols that look
        // like spaces.
        return !nascosto(codice) && codice != 0x115F && codice != 0x1160 && codice != 0x3164 &&
               codice != 0xFFA0 && codice != 0x2800;
    }
}

} // namespace verifier::utf8
