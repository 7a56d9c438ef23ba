#pragma once

#include <QString>

#include <array>
#include <string_view>

namespace Module1 {

enum class Campo { ABI, CAB, Conto };

// What the Calculate command shows: the IBAN, or a warning and the field to fix.
struct EsitoCalcolo {
    bool calcolato = false; // true: `iban` holds the 27-character IBAN
    QString iban;
    QString avviso;           // when not computed: the warning's text
    Campo campo = Campo::ABI; // when not computed: the field that gets the focus after the warning
};

inline constexpr char kTitoloAvviso[] = "Quorvel"; // title of the command's warnings

// The IBAN of ABI, CAB and account as they stand in the fields, `conto` already upper-cased.
// Refuses empty fields, and ABI, CAB or account beyond their widths, which would give an IBAN
// of the wrong length or with a CIN that does not belong to it.
EsitoCalcolo CalcolaIBAN(const QString& abi, const QString& cab, const QString& conto);

// The same computation for callers that convert whole lists, on the bytes of a file's fields
// and with nothing allocated: the same code, rules, padding and refusals. The account's a-z
// count as A-Z; a byte above 0x7F is neither a letter nor a digit, so an account holding one
// belongs to CalcolaIBAN, whose upper-casing can make such a character a letter ("ı" is "I").
struct EsitoCalcoloTesto {
    bool calcolato = false;
    std::array<char, 27> iban{};  // when computed
    const char* avviso = nullptr; // when not computed: the warning's text, UTF-8
    Campo campo = Campo::ABI;
};
EsitoCalcoloTesto CalcolaIBAN(std::string_view abi, std::string_view cab, std::string_view conto);

} // namespace Module1
