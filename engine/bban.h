#pragma once

#include <QStringView>

// The BBAN written straight into a caller's buffer, so that the IBAN needs no BBAN string of its
// own.
namespace Module1 {

// The parts of a BBAN, counted once so that the caller can size its buffer before writing.
struct MisureBBAN {
    qsizetype cifreABI = 0;     // digits of the ABI after its leading zeros
    qsizetype cifreCAB = 0;     // likewise for the CAB
    qsizetype alfanumerici = 0; // letters and digits of the account
    qsizetype lunghezza = 0;    // of the whole BBAN
};

// `conto` must already be upper case.
MisureBBAN misuraBBAN(QStringView abi, QStringView cab, QStringView conto);

// Writes the BBAN (CIN, ABI, CAB, account) at `bban`, which holds misure.lunghezza characters.
void scriviBBAN(QChar* bban, QStringView abi, QStringView cab, QStringView conto,
                const MisureBBAN& misure);

// True when upper-casing would leave `testo` as it is. Only plain ASCII is judged here (some
// other characters become A-Z letters); anything else answers false, for toUpper to decide.
bool giaMaiuscolo(QStringView testo);

} // namespace Module1
