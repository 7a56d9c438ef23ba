#include "comandi.h"

#include "iban_calculation.h"
#include "uscita.h"

namespace cli {
namespace {

// The Calculate command of the window on three arguments, as if pasted into its fields: the
// spaces around each dropped, the account upper-cased one character for one, the same refusals
// with the same warnings. A list's rows are computed by the same code.
int calcola(Argomenti argomenti) {
    const std::optional<Divisi> divisi = dividi(argomenti, "calcola", {});
    if (!divisi) {
        return kErrore;
    }
    if (divisi->operandi.size() != 3) {
        return erroreDUso("calcola vuole tre argomenti: ABI, CAB e numero di conto.");
    }
    lists::IbanCalculation calcolo;
    if (!calcolo.calculate(divisi->operandi[0], divisi->operandi[1], divisi->operandi[2])) {
        scriviErrore(calcolo.reason() + '\n');
        return kNonValido;
    }
    Uscita uscita;
    uscita.testo() += calcolo.iban();
    uscita.testo() += '\n';
    return uscita.chiudi(kRiuscito);
}

} // namespace

const Comando kCalcola = {
    "calcola",
    "calcola ABI CAB CONTO",
    "      Stampa l'IBAN italiano del conto, calcolato come fa il pulsante \"Calcola IBAN\":\n"
    "      ABI e CAB di al massimo 5 cifre, completati da zeri a sinistra; il numero di\n"
    "      conto in maiuscolo, di al massimo 12 lettere e cifre (segni e spazi non\n"
    "      contano). Se un dato manca o non va, scrive l'avviso sullo standard error ed\n"
    "      esce con 1. Un conto che comincia con \"-\" va dopo --, che chiude le opzioni:\n"
    "      bviban-cli calcola -- 1234 987 -12345\n",
    calcola,
};

} // namespace cli
