#include "comandi.h"

#include <array>

namespace cli {
namespace {

constexpr std::array<const Comando*, 3> kComandi = {&kCalcola, &kVerifica, &kConverti};

} // namespace

std::span<const Comando* const> comandi() {
    return kComandi;
}

} // namespace cli
