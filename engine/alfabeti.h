#pragma once

#include <QString>
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
// other characters become A-Z letters); anything else answers false, for maiuscolo to decide.
inline bool giaMaiuscolo(QStringView testo) {
    return std::all_of(testo.cbegin(), testo.cend(),
                       [](QChar c) { return c.unicode() < 0x80 && !(c >= u'a' && c <= u'z'); });
}

// `testo` upper-cased one character at a time, one to one, as Windows did: "ß" stays "ß" instead
// of becoming "SS", so that no letter the user did not type can reach an account. A character
// whose upper case is not a single character of the same width stays as it is.
QString maiuscolo(QStringView testo);

} // namespace Module1::alfabeti
