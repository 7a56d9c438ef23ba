#pragma once

#include <QStringView>

#include <algorithm>

// The only characters that count in bank coordinates: ASCII digits and upper-case letters.
// Lower-case and accented letters are neither.
namespace Module1::alfabeti {

constexpr bool isCifra(char16_t c) {
    return c >= u'0' && c <= u'9';
}

constexpr bool isLettera(char16_t c) {
    return c >= u'A' && c <= u'Z';
}

constexpr bool isAlfanumerico(char16_t c) {
    return isCifra(c) || isLettera(c);
}

// True when upper-casing would leave `testo` as it is. Only plain ASCII is judged here (some
// other characters become A-Z letters); anything else answers false, for toUpper to decide.
inline bool giaMaiuscolo(QStringView testo) {
    return std::all_of(testo.cbegin(), testo.cend(),
                       [](QChar c) { return c.unicode() < 0x80 && !(c >= u'a' && c <= u'z'); });
}

} // namespace Module1::alfabeti
