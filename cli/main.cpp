#include "comandi.h"
#include "principale.h"

int main(int argc, char* argv[]) {
    return cli::esegui(argc, argv, cli::comandi());
}
