#include "comandi.h"
#include "console.h"
#include "principale.h"

#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string> argomenti = shell::console::arguments(argc, argv);
    std::vector<const char*> puntatori;
    for (const std::string& argomento : argomenti) {
        puntatori.push_back(argomento.c_str());
    }
    return cli::esegui(static_cast<int>(puntatori.size()), puntatori.data(), cli::comandi());
}
