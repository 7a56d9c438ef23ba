#pragma once

#include "comando.h"

#include <span>

namespace cli {

// Runs the program: global options (--help, --version), then the subcommand named by the first
// argument with the arguments after it. Returns the exit status.
int esegui(int argc, const char* const* argv, std::span<const Comando* const> comandi);

// The text of --help, from the subcommands' own descriptions.
std::string aiuto(std::span<const Comando* const> comandi);

} // namespace cli
