#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Checking an IBAN as people paste it: from an invoice, an e-mail, a supplier list.
//
//   verifier::Risultato r;
//   verifier::verifica("iban: it60 x054 2811 1010 0000 0123 456", r);
//   r.valido();        // true
//   r.elettronico;     // "IT60X0542811101000000123456"
//   r.abi();           // "05428"
//   verifier::motivo(r), verifier::cartaceo(r.elettronico), verifier::perCampi(r)  (testi.h,
//   forme.h)
//
// The text is UTF-8. Any IBAN country is checked for its two letters, its registry length, the
// structure of its BBAN (digits, letters or either, place by place) and its check digits (ISO
// 7064 MOD 97-10); Italian and San Marino IBANs also for their CIN, with the engine's own rules,
// and when one fails the verifier looks for the valid IBANs one slip away. Plain C++ but for
// Qt Core's Unicode categories (verifica_qt.h adapts QString callers).
namespace verifier {

// The first check that fails, in the order they are made; Valido when none does.
enum class Esito : std::uint8_t {
    Valido,
    Vuoto,               // nothing but blanks, or a label ("IBAN:") alone
    CarattereNonAmmesso, // `rifiuto` names the character and where it stands
    PaeseNonLettere,     // the first two characters are not both letters
    PaeseSconosciuto,    // two letters, but no country that uses the IBAN
    Lunghezza,           // the country's IBANs have `lunghezzaAttesa` characters
    Struttura,           // `struttura` names the first character of the wrong kind
    Controllo,           // the check digits or the CIN (or both) are not the expected ones
};

enum class Tipo : std::uint8_t { Lettera, Cifra };

// A character that normalising does not accept.
struct Rifiuto {
    char32_t carattere = 0;      // the character, or the byte when `byteNonValido`
    std::uint32_t posizione = 0; // from 1, in characters of the text as given
    bool byteNonValido = false;  // the text is not UTF-8 there
    bool fuoriPosto = false;     // a hyphen, dot or colon that is allowed, but not there
};

// The first character whose kind is wrong for its place.
struct ErroreStruttura {
    std::uint32_t posizione = 0; // from 1, in characters of the text as given
    std::uint32_t indice = 0;    // from 0, in the electronic form
    Tipo atteso = Tipo::Cifra;
};

// The valid Italian or San Marino IBANs one slip away from the text: one character changed,
// two adjacent ones swapped, one missing or one extra.
struct Suggerimenti {
    static constexpr int kMassimo = 5;
    static constexpr int kLunghezza = 27;

    int numero = 0;      // how many are listed
    bool troppi = false; // more than kMassimo were found: none is listed
    std::array<std::array<char, kLunghezza>, kMassimo> iban{};

    std::string_view operator[](int i) const { return {iban[i].data(), iban[i].size()}; }
};

struct Risultato {
    Esito esito = Esito::Vuoto;
    // The electronic form: the text's letters and digits, upper case, without the label. It is
    // meaningful unless esito is CarattereNonAmmesso (see normalizzato()).
    std::string elettronico;
    Rifiuto rifiuto;             // when CarattereNonAmmesso
    int lunghezzaAttesa = 0;     // of the country's IBANs, when the country is known
    ErroreStruttura struttura;   // when Struttura
    bool bbanItaliano = false;   // IT or SM: the BBAN and the CIN are checked too
    char controlloIndicato[2]{}; // check digits as written, when the structure allows
    char controlloAtteso[2]{};   // and as they should be
    char cinIndicato = 0;        // the CIN as written, for IT and SM
    char cinAtteso = 0;          // and as ABI, CAB and account make it
    // The CIN alone is wrong: with cinAtteso in its place the check digits are right.
    bool soloIlCIN = false;
    // A word the text starts with that is no part of an IBAN ("CONTO IT60..."), as written;
    // when not empty it is the reason, whatever check failed.
    std::string parolaInPiu;
    Suggerimenti suggerimenti;

    bool valido() const { return esito == Esito::Valido; }
    bool normalizzato() const { return esito != Esito::CarattereNonAmmesso; }
    // The check digits and, for IT and SM, the CIN were computed.
    bool controllato() const { return esito == Esito::Valido || esito == Esito::Controllo; }
    bool controlloGiusto() const;
    bool cinGiusto() const;
    // An Italian or San Marino IBAN of the right length and structure: its fields can be read.
    bool conParti() const { return bbanItaliano && controllato(); }

    // The parts; empty where they do not apply.
    std::string_view paese() const;          // a country that uses the IBAN
    std::string_view cifreControllo() const; // when controllato()
    std::string_view cin() const;            // when conParti(), as are the next three
    std::string_view abi() const;
    std::string_view cab() const;
    std::string_view conto() const;
};

// Checks `testo` into `risultato`, whose buffers are reused: a caller that checks many texts
// with the same Risultato allocates nothing once they are large enough.
void verifica(std::string_view testo, Risultato& risultato);
Risultato verifica(std::string_view testo);

// Whether a text (the clipboard's, say) looks like an IBAN worth checking: it normalises to two
// letters, two digits and 15 to 34 characters in all, from at most kSembraMassimo bytes (far
// more than any IBAN with its blanks: a longer text is a document).
inline constexpr std::size_t kSembraMassimo = 128;
bool sembraUnIBAN(std::string_view testo);

} // namespace verifier
