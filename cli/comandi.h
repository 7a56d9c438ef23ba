#pragma once

#include "comando.h"

#include <span>

namespace cli {

extern const Comando kCalcola;
extern const Comando kVerifica;

// The subcommands, in the order --help lists them.
std::span<const Comando* const> comandi();

} // namespace cli
