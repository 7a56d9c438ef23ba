#include "principale.h"

#include "console.h"
#include "identity.h"
#include "uscita.h"

#include <string>
#include <vector>

namespace cli {
namespace {

using shell::console::Stream;

void scrivi(Stream flusso, std::string_view testo) {
    shell::console::write(flusso, testo.data(), testo.size());
}

// What --help or --version shows, as the subcommands write their results: a failed write
// is an error.
int mostra(std::string_view testo) {
    Uscita uscita;
    uscita.testo() += testo;
    return uscita.chiudi(kRiuscito);
}

bool aiutoChiesto(std::string_view argomento) {
    return argomento == "-h" || argomento == "--help";
}

// The subcommand's syntax after `prima`, and its description: its part of --help, or its own
// help.
void aggiungiComando(const Comando& comando, std::string_view prima, std::string& testo) {
    testo += prima;
    testo += comando.sintassi;
    testo += '\n';
    testo += comando.descrizione;
}

} // namespace

void scriviErrore(std::string_view testo) {
    scrivi(Stream::Error, testo);
}

int erroreDUso(std::string_view messaggio) {
    std::string testo = kProgramma;
    testo += ": ";
    testo += messaggio;
    testo += "\nPer l'aiuto: ";
    testo += kProgramma;
    testo += " --help\n";
    scriviErrore(testo);
    return kErrore;
}

std::string aiuto(std::span<const Comando* const> comandi) {
    std::string testo = "Uso: ";
    testo += kProgramma;
    testo += " COMANDO [ARGOMENTI...]\n"
             "Calcola e verifica gli IBAN italiani e sammarinesi, con le stesse regole di ";
    testo += identity::kApplicationTitle;
    testo += ".\n\nComandi:\n";
    for (const Comando* comando : comandi) {
        aggiungiComando(*comando, "  ", testo);
    }
    testo += "\nOpzioni:\n"
             "  -h, --help     mostra questo aiuto ed esce (dopo un comando: l'aiuto del "
             "comando)\n"
             "  -V, --version  mostra la versione ed esce\n"
             "\nStato d'uscita:\n"
             "  0  tutto valido o calcolato\n"
             "  1  almeno una riga non valida o vuota, o un calcolo rifiutato\n"
             "  2  errore d'uso, di lettura o di scrittura\n"
             "\nI risultati vanno sullo standard output, gli errori sullo standard error.\n";
    return testo;
}

int esegui(int argc, const char* const* argv, std::span<const Comando* const> comandi) {
    shell::console::useBinaryMode();
    const std::vector<std::string_view> argomenti(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (argomenti.empty()) {
        return erroreDUso("manca il comando (calcola, verifica, ...).");
    }
    const std::string_view primo = argomenti.front();
    if (aiutoChiesto(primo)) {
        return mostra(aiuto(comandi));
    }
    if (primo == "-V" || primo == "--version") {
        std::string versione = kProgramma;
        versione += ' ';
        versione += identity::kVersion;
        versione += '\n';
        return mostra(versione);
    }
    if (opzione(primo)) {
        return erroreDUso("opzione sconosciuta «" + std::string(primo) + "».");
    }
    for (const Comando* comando : comandi) {
        if (comando->nome != primo) {
            continue;
        }
        const Argomenti resto = Argomenti(argomenti).subspan(1);
        for (const std::string_view argomento : resto) {
            if (argomento == "--") {
                break;
            }
            if (aiutoChiesto(argomento)) {
                std::string testo;
                aggiungiComando(*comando, std::string("Uso: ") + kProgramma + ' ', testo);
                return mostra(testo);
            }
        }
        return comando->esegui(resto);
    }
    return erroreDUso("comando sconosciuto «" + std::string(primo) + "».");
}

} // namespace cli
