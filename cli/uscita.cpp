#include "uscita.h"

#include "comando.h"
#include "console.h"

namespace cli {

using shell::console::Stream;

Uscita::Uscita() : rigaPerRiga(shell::console::isTerminal(Stream::Output)) {
    buffer.reserve(kSoglia + 4096);
}

void Uscita::svuota() {
    if (!fallita && !buffer.empty() &&
        !shell::console::write(Stream::Output, buffer.data(), buffer.size())) {
        fallita = true;
        errore = shell::console::errorText();
    }
    buffer.clear();
}

int Uscita::chiudi(int stato) {
    svuota();
    if (!fallita) {
        return stato;
    }
    scriviErrore(std::string(kProgramma) +
                 ": errore di scrittura sullo standard output: " + errore + "\n");
    return kErrore;
}

} // namespace cli
