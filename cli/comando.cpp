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
            erroreDUso(std::string(comando) + ": opzione sconosciuta «" + std::string(argomento) +
                       "».");
            return std::nullopt;
        }
    }
    return divisi;
}

} // namespace cli
