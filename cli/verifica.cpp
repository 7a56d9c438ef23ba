#include "comandi.h"

#include "forme.h"
#include "json.h"
#include "righe.h"
#include "testi.h"
#include "uscita.h"
#include "verifica_iban.h"

#include <string>

namespace cli {
namespace {

using verifier::Risultato;

constexpr char kTroncata[] = "La riga supera 65536 byte: è troppo lunga per essere un IBAN.";
static_assert(LettoreRighe::kRigaMassima == 65536);

// How much of a refused input the plain output repeats: the reason says where the fault is.
constexpr std::size_t kEcoMassima = 64;

std::string_view verdetto(const Risultato& r) {
    if (r.valido()) {
        return verifier::kValido;
    }
    return r.esito == verifier::Esito::Vuoto ? "vuoto" : verifier::kNonValido;
}

// The input as far as the plain output repeats it, cut at a character's start.
std::string_view eco(std::string_view input) {
    if (input.size() <= kEcoMassima) {
        return input;
    }
    std::size_t taglio = kEcoMassima;
    while (taglio > 0 && (static_cast<unsigned char>(input[taglio]) & 0xC0) == 0x80) {
        --taglio;
    }
    return input.substr(0, taglio);
}

// One line: the electronic form (or the input), the verdict, the fields or the reason, and
// for an invalid IBAN the suggestions; separated by tabs.
void rigaPiana(std::string_view input, bool troncata, const Risultato& r, std::string& u) {
    if (!r.elettronico.empty()) {
        u += r.elettronico;
    } else {
        const std::string_view ripetuto = eco(input);
        aggiungiTestoPiano(ripetuto, u);
        if (ripetuto.size() < input.size()) {
            u += "…";
        }
    }
    u += '\t';
    if (troncata) {
        u += verifier::kNonValido;
        u += '\t';
        u += kTroncata;
        u += '\n';
        return;
    }
    u += verdetto(r);
    u += '\t';
    if (r.valido()) {
        verifier::aggiungiPerCampi(r, u);
        verifier::aggiungiNota(r, u);
        u += '\n';
        return;
    }
    verifier::aggiungiMotivo(r, u);
    if (r.suggerimenti.troppi) {
        u += '\t';
        u += verifier::kTroppiSuggerimenti;
    } else if (r.suggerimenti.numero > 0) {
        u += "\tforse: ";
        for (int i = 0; i < r.suggerimenti.numero; ++i) {
            if (i > 0) {
                u += ", ";
            }
            u += r.suggerimenti[i];
        }
    }
    u += '\n';
}

// `chiave` is the whole text before the value: ,"key":
void campoJson(std::string_view chiave, std::string_view valore, std::string& u) {
    u += chiave;
    if (valore.empty()) {
        u += "null";
    } else {
        aggiungiStringaJson(valore, u);
    }
}

// One JSON object on one line (JSON Lines). The texts that are built rather than cut from the
// electronic form are written into `lavoro` first.
void rigaJson(std::string_view input, bool troncata, const Risultato& r, std::string& lavoro,
              std::string& u) {
    u += "{\"input\":";
    aggiungiStringaJson(input, u);
    campoJson(R"(,"iban":)", r.elettronico, u);
    u += ",\"valido\":";
    u += r.valido() ? "true" : "false";
    lavoro.clear();
    if (troncata) {
        lavoro = kTroncata;
    } else {
        verifier::aggiungiMotivo(r, lavoro);
    }
    campoJson(R"(,"motivo":)", lavoro, u);
    campoJson(R"(,"paese":)", r.paese(), u);
    campoJson(R"(,"cifre_controllo":)", r.cifreControllo(), u);
    campoJson(R"(,"cin":)", r.cin(), u);
    campoJson(R"(,"abi":)", r.abi(), u);
    campoJson(R"(,"cab":)", r.cab(), u);
    campoJson(R"(,"conto":)", r.conto(), u);
    lavoro.clear();
    verifier::aggiungiCartaceo(r.elettronico, lavoro);
    campoJson(R"(,"cartaceo":)", lavoro, u);
    lavoro.clear();
    verifier::aggiungiPerCampi(r, lavoro);
    campoJson(R"(,"per_campi":)", lavoro, u);
    lavoro.clear();
    verifier::aggiungiNota(r, lavoro);
    campoJson(R"(,"nota":)", lavoro, u);
    u += ",\"suggerimenti\":[";
    for (int i = 0; i < r.suggerimenti.numero; ++i) {
        if (i > 0) {
            u += ',';
        }
        aggiungiStringaJson(r.suggerimenti[i], u);
    }
    u += "],\"troppi_suggerimenti\":";
    u += r.suggerimenti.troppi ? "true" : "false";
    u += "}\n";
}

// Checks one input and writes its line; false when it is not valid.
class Verificatore {
public:
    explicit Verificatore(bool json) : json(json) {}

    // A line cut short is not checked: the result of the empty text stands for it, with no
    // part left over from the line before.
    bool verifica(std::string_view input, bool troncata, Uscita& uscita) {
        verifier::verifica(troncata ? std::string_view() : input, risultato);
        if (json) {
            rigaJson(input, troncata, risultato, lavoro, uscita.testo());
        } else {
            rigaPiana(input, troncata, risultato, uscita.testo());
        }
        uscita.fineRiga();
        return risultato.valido();
    }

private:
    bool json;
    Risultato risultato; // reused: its buffers grow once
    std::string lavoro;
};

int verifica(Argomenti argomenti) {
    const std::optional<Divisi> divisi = dividi(argomenti, "verifica", {"--json"});
    if (!divisi) {
        return kErrore;
    }
    Verificatore verificatore(divisi->ha("--json"));
    Uscita uscita;
    bool tuttiValidi = true;
    if (!divisi->operandi.empty()) {
        for (const std::string_view iban : divisi->operandi) {
            if (uscita.interrotta()) {
                break;
            }
            tuttiValidi &= verificatore.verifica(iban, false, uscita);
        }
        return uscita.chiudi(tuttiValidi ? kRiuscito : kNonValido);
    }

    // Once a write fails nobody reads the results: reading on would never end on an endless
    // input whose reader has gone (SIGPIPE ignored, EPIPE).
    LettoreRighe lettore([&uscita] { uscita.svuota(); });
    std::string_view riga;
    bool troncata = false;
    LettoreRighe::Esito esito = LettoreRighe::Esito::Fine;
    while (!uscita.interrotta() &&
           (esito = lettore.leggi(riga, troncata)) == LettoreRighe::Esito::Riga) {
        tuttiValidi &= verificatore.verifica(riga, troncata, uscita);
    }
    const int stato = uscita.chiudi(tuttiValidi ? kRiuscito : kNonValido);
    if (esito == LettoreRighe::Esito::Errore) {
        scriviErrore(std::string(kProgramma) +
                     ": errore di lettura dello standard input: " + lettore.errore() + "\n");
        return kErrore;
    }
    return stato;
}

} // namespace

const Comando kVerifica = {
    "verifica",
    "verifica [--json] [IBAN...]",
    "      Verifica ogni IBAN dato o, senza argomenti, ogni riga dello standard input,\n"
    "      letta e verificata una alla volta: un risultato per riga, nello stesso ordine.\n"
    "      Accetta spazi, trattini e punti tra i gruppi, minuscole e davanti \"IBAN\",\n"
    "      \"IBAN:\", \"IBAN n.\" o \"Codice IBAN:\". Di ogni paese controlla lunghezza,\n"
    "      formato (cifre e lettere al loro posto) e cifre di controllo; degli IBAN\n"
    "      italiani e sammarinesi anche il CIN, e se sono sbagliati suggerisce quelli\n"
    "      validi a un errore di battitura di distanza.\n"
    "      Ogni riga: IBAN, \"valido\", \"non valido\" o \"vuoto\", poi i campi o il motivo\n"
    "      ed eventuali suggerimenti, separati da tabulazioni. Esce con 1 se almeno una\n"
    "      riga è non valida o vuota.\n"
    "      --json  un oggetto JSON per riga (JSON Lines) con le chiavi input, iban,\n"
    "              valido, motivo, paese, cifre_controllo, cin, abi, cab, conto,\n"
    "              cartaceo, per_campi, nota, suggerimenti, troppi_suggerimenti\n",
    verifica,
};

} // namespace cli
