#include "comandi.h"

#include <array>

namespace cli {
namespace {

constexpr std::array<const Comando*, 2> kComandi = {&kCalcola, &kVerifica};

} // namespace

std::span<const Comando* const> comandi() {
    return kComandi;
}

} // namespace cli
