#pragma once

#include <QString>

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

} // namespace Module1
