#pragma once

#include <QString>

#include <cstdint>

// Bank coordinates to CIN, BBAN and the digits of the IBAN check.
namespace Module1 {

// The CIN check letter of ABI, CAB and account: their digits (and the account's upper-case
// letters) zero-padded to 5, 5 and 12 characters, summed with the odd/even tables modulo 26.
QString CalcolaCIN(const QString& abi, const QString& cab, const QString& conto);

// CIN, ABI (5 digits), CAB (5 digits) and the account's letters and digits padded to 12.
// Upper-cases the caller's `conto`.
QString ComponiBBAN(QString& conto, const QString& abi, const QString& cab);

// Upper-cases the caller's `conto` and returns its letters A-Z and digits 0-9, in order.
QString FiltraAlfanumerici(QString& conto);

// Digits unchanged, A-Z as 10-35, every other character dropped.
QString ConvertiLettere(const QString& testo);

// Block n (from 1) of the text cut into five-character blocks; empty past the last block.
QString EstraiBlocco(const QString& testo, std::int16_t n);

} // namespace Module1
