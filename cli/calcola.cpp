#include "comandi.h"

#include "alfabeti.h"
#include "calcola_iban.h"
#include "uscita.h"

#include <QString>

namespace cli {
namespace {

QString testo(std::string_view argomento) {
    return QString::fromUtf8(argomento.data(), static_cast<qsizetype>(argomento.size()));
}

// The Calculate command of the window on three arguments, as if typed into its fields: the
// account upper-cased one character for one, the same refusals with the same warnings.
int calcola(Argomenti argomenti) {
    const std::optional<Divisi> divisi = dividi(argomenti, "calcola", {});
    if (!divisi) {
        return kErrore;
    }
    if (divisi->operandi.size() != 3) {
        return erroreDUso("calcola vuole tre argomenti: ABI, CAB e numero di conto.");
    }
    const Module1::EsitoCalcolo esito =
        Module1::CalcolaIBAN(testo(divisi->operandi[0]), testo(divisi->operandi[1]),
                             Module1::alfabeti::maiuscolo(testo(divisi->operandi[2])));
    if (!esito.calcolato) {
        scriviErrore((esito.avviso + u'\n').toStdString());
        return kNonValido;
    }
    Uscita uscita;
    uscita.testo() += esito.iban.toStdString();
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
    "      esce con 1.\n",
    calcola,
};

} // namespace cli
