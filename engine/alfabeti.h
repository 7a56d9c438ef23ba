#pragma once

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

} // namespace Module1::alfabeti
