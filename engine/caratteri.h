#pragma once

// The only characters that count in bank coordinates: ASCII digits and upper-case letters.
// Lower-case and accented letters are neither. Free of Qt, for callers that read bytes.
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

// A code unit of any width as the character it stands for: a `char` is read as a byte, so that
// the bytes of UTF-8 above 0x7F never pass for a digit or a letter.
constexpr char16_t unita(char c) {
    return static_cast<unsigned char>(c);
}
constexpr char16_t unita(char16_t c) {
    return c;
}

} // namespace Module1::alfabeti
