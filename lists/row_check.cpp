#include "row_check.h"

namespace lists {
namespace {

constexpr std::string_view kOk = "OK";

} // namespace

RowCheck::RowCheck(const Layout& layout)
    : layout_(layout), used_(layout.used()), count_(layout.titles().size()),
      esito_(layout.mode == Mode::Verifica ? 0 : 1) {}

bool RowCheck::refuse(std::string reason) {
    reason_ = std::move(reason);
    added_.fill({});
    added_[esito_] = reason_;
    return false;
}

bool RowCheck::check(std::span<const Cell> cells) {
    std::vector<std::string_view> missing;
    for (const Column column : used_) {
        if (layout_.of(column) >= cells.size()) {
            missing.push_back(columnTitle(column));
        }
    }
    if (!missing.empty()) {
        std::string reason = missing.size() == 1 ? "Riga incompleta: manca la colonna "
                                                 : "Riga incompleta: mancano le colonne ";
        for (std::size_t i = 0; i < missing.size(); ++i) {
            reason += i == 0 ? "" : i + 1 == missing.size() ? " e " : ", ";
            reason += missing[i];
        }
        return refuse(reason + ".");
    }
    const auto field = [&](Column column) { return cells[layout_.of(column)].text; };
    if (!calculation_.calculate(field(Column::Abi), field(Column::Cab), field(Column::Conto))) {
        return refuse(calculation_.reason());
    }
    added_[0] = calculation_.iban();
    added_[1] = kOk;
    return true;
}

} // namespace lists
