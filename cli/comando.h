#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// bviban-cli: one program, several subcommands. Each subcommand is a Comando defined in a
// source file of its own and listed once in comandi.cpp; the dispatcher (principale.h) finds
// it by name, gives it its arguments and builds --help from the list.
namespace cli {

inline constexpr char kProgramma[] = "bviban-cli";

// Exit statuses, the same for every subcommand.
inline constexpr int kRiuscito = 0;  // everything valid or computed
inline constexpr int kNonValido = 1; // some input invalid or refused
inline constexpr int kErrore = 2;    // a usage error, or reading or writing failed

// A subcommand's arguments, after its name.
using Argomenti = std::span<const std::string_view>;

struct Comando {
    std::string_view nome;        // as typed: "verifica"
    std::string_view sintassi;    // for --help: "verifica [--json] [IBAN...]"
    std::string_view descrizione; // for --help: lines indented by six spaces, each ending "\n"
    int (*esegui)(Argomenti argomenti);
};

// Text on standard error, as it is.
void scriviErrore(std::string_view testo);

// A usage error: "bviban-cli: <messaggio>" and a pointer to --help on standard error; returns
// kErrore for the subcommand to return.
int erroreDUso(std::string_view messaggio);

// Whether an argument is an option ("-x", "--xyz") rather than an operand; "-" alone is not.
constexpr bool opzione(std::string_view argomento) {
    return argomento.size() > 1 && argomento[0] == '-';
}

// A subcommand's arguments split into the options it knows and its operands, in order; "--"
// ends the options. Nothing, after the usage error, for an option it does not know.
struct Divisi {
    std::vector<std::string_view> opzioni;
    std::vector<std::string_view> operandi;

    bool ha(std::string_view opzione) const;
};
std::optional<Divisi> dividi(Argomenti argomenti, std::string_view comando,
                             std::initializer_list<std::string_view> note);

} // namespace cli
