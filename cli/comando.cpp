#include "comando.h"

#include <algorithm>
#include <string>

namespace cli {

bool Divisi::ha(std::string_view cercata) const {
    return std::find(opzioni.begin(), opzioni.end(), cercata) != opzioni.end();
}

std::optional<std::string_view> Divisi::valore(std::string_view cercata) const {
    std::optional<std::string_view> trovato;
    for (const auto& [opzione, valore] : valori) {
        if (opzione == cercata) {
            trovato = valore;
        }
    }
    return trovato;
}

namespace {

// Data may begin with "-" (an account, a file name): the message says how to give it. Something
// that looks like a long option gets no example, which would pass it on as data.
std::string opzioneSconosciuta(Argomenti argomenti, std::string_view comando,
                               std::string_view argomento) {
    std::string testo = std::string(comando) + ": opzione sconosciuta «" + std::string(argomento) +
                        "». Un dato che comincia con «-» va dopo --, che chiude le opzioni";
    if (argomento.starts_with("--")) {
        return testo + '.';
    }
    testo += ": ";
    testo += kProgramma;
    testo += ' ';
    testo += comando;
    testo += " --";
    for (const std::string_view dato : argomenti) {
        if (dato == "--") {
            continue;
        }
        // As a shell would take it back: quoted when empty or holding blanks.
        const bool tra = dato.empty() || dato.find_first_of(" \t") != std::string_view::npos;
        testo += tra ? " '" : " ";
        testo += dato;
        testo += tra ? "'" : "";
    }
    return testo;
}

} // namespace

std::optional<Divisi> dividi(Argomenti argomenti, std::string_view comando,
                             std::initializer_list<std::string_view> note,
                             std::initializer_list<std::string_view> conValore) {
    const auto conosciuta = [](std::initializer_list<std::string_view> elenco,
                               std::string_view nome) {
        return std::find(elenco.begin(), elenco.end(), nome) != elenco.end();
    };
    Divisi divisi;
    bool soloOperandi = false;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string_view argomento = argomenti[i];
        const std::string_view nome = argomento.substr(0, argomento.find('='));
        if (soloOperandi || !opzione(argomento)) {
            divisi.operandi.push_back(argomento);
        } else if (argomento == "--") {
            soloOperandi = true;
        } else if (conosciuta(note, argomento)) {
            divisi.opzioni.push_back(argomento);
        } else if (conosciuta(conValore, nome) && nome.size() < argomento.size()) {
            divisi.valori.emplace_back(nome, argomento.substr(nome.size() + 1));
        } else if (conosciuta(conValore, argomento)) {
            if (i + 1 == argomenti.size()) {
                erroreDUso(std::string(comando) + ": l'opzione " + std::string(argomento) +
                           " vuole un valore.");
                return std::nullopt;
            }
            divisi.valori.emplace_back(argomento, argomenti[++i]);
        } else {
            erroreDUso(opzioneSconosciuta(argomenti, comando, argomento));
            return std::nullopt;
        }
    }
    return divisi;
}

} // namespace cli
