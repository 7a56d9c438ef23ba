#include "comandi.h"

#include "console.h"
#include "file_names.h"
#include "file_stream.h"
#include "interruptions.h"
#include "list_module.h"
#include "number_text.h"

#include <string>

namespace cli {
namespace {

using shell::console::Stream;

constexpr auto kPrimaRiga = std::chrono::seconds(1);

// The progress line, on standard error when it is a terminal and the run lasts more than a
// second: percent, rows per second and time left, rewritten in place.
class Avanzamento {
public:
    Avanzamento() : terminale_(shell::console::isTerminal(Stream::Error)) {}

    void mostra(const lists::Progress& p) {
        if (!terminale_ || p.elapsed < kPrimaRiga) {
            return;
        }
        const double secondi = std::chrono::duration<double>(p.elapsed).count();
        std::string riga = "\r\033[K";
        if (p.fraction >= 0) {
            riga += std::to_string(static_cast<int>(p.fraction * 100)) + "% · ";
        }
        riga += lists::groupedDigits(p.rows) + " righe · ";
        riga += lists::groupedDigits(static_cast<std::uint64_t>(p.rows / secondi)) + " righe/s";
        if (p.fraction > 0) {
            riga +=
                " · mancano " +
                lists::durationText(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    p.elapsed * ((1 - p.fraction) / p.fraction)));
        }
        scrivi(riga);
        mostrata_ = true;
    }

    void cancella() {
        if (mostrata_) {
            scrivi("\r\033[K");
            mostrata_ = false;
        }
    }

private:
    static void scrivi(const std::string& testo) {
        shell::console::write(Stream::Error, testo.data(), testo.size());
    }

    bool terminale_;
    bool mostrata_ = false;
};

std::string tra(std::string_view testo) {
    return "«" + std::string(testo) + "»";
}

std::string colonneNonTrovate(const lists::ListOutcome& esito) {
    std::string testo = std::string(kProgramma) + ": " + esito.error + "\n";
    if (!esito.headers.empty()) {
        testo += "Intestazioni lette: ";
        for (std::size_t i = 0; i < esito.headers.size(); ++i) {
            testo += (i == 0 ? "" : ", ") + tra(esito.headers[i]);
        }
        testo += ".\n";
    }
    testo += "Indica le colonne con --abi, --cab e --conto, oppure con --iban: il numero della "
             "colonna (da 1) o il nome della sua intestazione. Per esempio:\n  ";
    testo += kProgramma;
    testo += " converti elenco.csv --abi 2 --cab 3 --conto 4\n";
    return testo;
}

std::string resoconto(const lists::Summary& riepilogo) {
    std::string testo = riepilogo.output == "-"
                            ? std::string("Risultato sullo standard output.\n")
                            : "Risultato in " + lists::displayName(riepilogo.output) + ".\n";
    return testo + lists::summaryText(riepilogo) + "\n";
}

int converti(Argomenti argomenti) {
    const std::optional<Divisi> divisi =
        dividi(argomenti, "converti", {"--sovrascrivi"},
               {"-o", "--foglio", "--abi", "--cab", "--conto", "--iban"});
    if (!divisi) {
        return kErrore;
    }
    if (divisi->operandi.size() != 1) {
        return erroreDUso("converti vuole un file: l'elenco da convertire, o - per lo standard "
                          "input.");
    }
    lists::ConversionRequest richiesta;
    richiesta.input = shell::utf8Path(divisi->operandi.front());
    richiesta.output = shell::utf8Path(divisi->valore("-o").value_or(""));
    richiesta.sheet = std::string(divisi->valore("--foglio").value_or(""));
    richiesta.columns.abi = std::string(divisi->valore("--abi").value_or(""));
    richiesta.columns.cab = std::string(divisi->valore("--cab").value_or(""));
    richiesta.columns.conto = std::string(divisi->valore("--conto").value_or(""));
    richiesta.columns.iban = std::string(divisi->valore("--iban").value_or(""));
    richiesta.overwrite = divisi->ha("--sovrascrivi");

    Avanzamento avanzamento;
    lists::ConversionHooks ganci;
    ganci.progress = [&](const lists::Progress& p) { avanzamento.mostra(p); };
    ganci.cancelled = &shell::interruptions::catchThem();
    const lists::ListOutcome esito = lists::convertList(richiesta, ganci);
    avanzamento.cancella();
    if (esito.summary) {
        scriviErrore(resoconto(*esito.summary));
        return esito.summary->rowsWithReason > 0 ? kNonValido : kRiuscito;
    }
    if (esito.cancelled) {
        scriviErrore(std::string(kProgramma) + ": conversione interrotta: nessun file scritto.\n");
        shell::interruptions::endIfRequested();
    } else if (esito.columnsNotFound()) {
        scriviErrore(colonneNonTrovate(esito));
    } else {
        scriviErrore(std::string(kProgramma) + ": " + esito.error + "\n");
    }
    return kErrore;
}

} // namespace

const Comando kConverti = {
    "converti",
    "converti FILE [-o USCITA] [--foglio NOME|N] [--abi COL] [--cab COL] [--conto COL]\n"
    "           [--iban COL] [--sovrascrivi]",
    "      Converte un elenco CSV, TSV, .xlsx o .ods (- per lo standard input): a ogni riga\n"
    "      aggiunge l'IBAN calcolato da ABI, CAB e Conto, come fa il pulsante \"Calcola\n"
    "      IBAN\", oppure verifica la colonna IBAN, o fa le due cose e le confronta; la\n"
    "      colonna Esito dice OK o il motivo. Nessuna riga si perde e nessun campo cambia.\n"
    "      Le colonne aggiunte vanno dopo la riga più larga della tabella; dallo standard\n"
    "      input, che si legge una volta sola, vanno dopo l'intestazione, e le celle in più\n"
    "      di una riga più lunga seguono quelle aggiunte.\n"
    "      Le colonne si trovano dalle intestazioni (ABI, CAB, Conto, C/C, IBAN...) o si\n"
    "      indicano con --abi, --cab, --conto, --iban: numero da 1 o nome dell'intestazione.\n"
    "      --foglio sceglie il foglio di un .xlsx o .ods (nome, o numero da 1; di solito il\n"
    "      primo). Il risultato va in FILE-IBAN.csv (FILE-IBAN.xlsx per un foglio di\n"
    "      calcolo) accanto a FILE, o in USCITA: un nome che finisce in .csv, .tsv, .txt o\n"
    "      .xlsx, oppure - per lo standard output (senza il segno BOM, che serve solo a\n"
    "      Excel). Un file esistente non viene sovrascritto senza --sovrascrivi, né se è di\n"
    "      sola lettura; sovrascritto, tiene i suoi permessi. Nell'uscita .xlsx la\n"
    "      formattazione del foglio d'origine (colori, caratteri, larghezze, formati dei\n"
    "      numeri) non viene ripresa; le date restano date.\n"
    "      Il resoconto va sullo standard error. Esce con 0 se tutte le righe sono OK, con\n"
    "      1 se qualcuna ha un motivo, con 2 se il file non si legge o non si scrive.\n",
    converti,
};

} // namespace cli
