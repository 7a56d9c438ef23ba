#include "comando.h"

#include <algorithm>
#include <string>

namespace cli {

bool Divisi::ha(std::string_view cercata) const {
    return std::find(opzioni.begin(), opzioni.end(), cercata) != opzioni.end();
}

std::optional<Divisi> dividi(Argomenti argomenti, std::string_view comando,
                             std::initializer_list<std::string_view> note) {
    Divisi divisi;
    bool soloOperandi = false;
    for (const std::string_view argomento : argomenti) {
        if (soloOperandi || !opzione(argomento)) {
            divisi.operandi.push_back(argomento);
        } else if (argomento == "--") {
            soloOperandi = true;
        } else if (std::find(note.begin(), note.end(), argomento) != note.end()) {
            divisi.opzioni.push_back(argomento);
        } else {
            erroreDUso(std::string(comando) + ": opzione sconosciuta «" + std::string(argomento) +
                       "».");
            return std::nullopt;
        }
    }
    return divisi;
}

} // namespace cli
