#include "header_names.h"

#include "utf8.h" // the verifier's

#include <array>
#include <utility>

namespace lists {
namespace {

// U+00C0 to U+00FF without their accents; "" for the two signs among them.
constexpr std::array<std::string_view, 64> kLatin1Letters = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

constexpr std::array<std::pair<std::string_view, Column>, 15> kUsual = {{
    {"abi", Column::Abi},
    {"codiceabi", Column::Abi},
    {"cab", Column::Cab},
    {"codicecab", Column::Cab},
    {"conto", Column::Conto},
    {"cc", Column::Conto},
    {"numeroconto", Column::Conto},
    {"nrconto", Column::Conto},
    {"nconto", Column::Conto},
    {"contocorrente", Column::Conto},
    {"nrcontocorrente", Column::Conto},
    {"ncontocorrente", Column::Conto},
    {"numerocontocorrente", Column::Conto},
    {"iban", Column::Iban},
    {"codiceiban", Column::Iban},
}};

} // namespace

std::string_view columnTitle(Column column) {
    switch (column) {
    case Column::Abi:
        return "ABI";
    case Column::Cab:
        return "CAB";
    case Column::Conto:
        return "Conto";
    case Column::Iban:
        return "IBAN";
    }
    return {};
}

std::string normalisedHeader(std::string_view header) {
    std::string normalised;
    std::size_t i = 0;
    while (i < header.size()) {
        const auto* p = reinterpret_cast<const unsigned char*>(header.data()) + i;
        char32_t c = *p;
        const int length = c < 0x80 ? 1 : verifier::utf8::decodifica(p, p + (header.size() - i), c);
        i += length > 0 ? static_cast<std::size_t>(length) : 1;
        if (c >= 'A' && c <= 'Z') {
            normalised += static_cast<char>(c - 'A' + 'a');
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            normalised += static_cast<char>(c);
        } else if (c >= 0xC0 && c <= 0xFF) {
            normalised += kLatin1Letters[c - 0xC0];
        }
    }
    return normalised;
}

std::optional<Column> usualHeader(std::string_view normalised) {
    for (const auto& [name, column] : kUsual) {
        if (name == normalised) {
            return column;
        }
    }
    return std::nullopt;
}

} // namespace lists
