#pragma once

#include "cell.h"
#include "columns.h"
#include "iban_calculation.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

// Fills the added columns of a data row for the layout's mode, and says whether it is OK.
class RowCheck {
public:
    explicit RowCheck(const Layout& layout);

    // True when the row's Esito is OK; otherwise reason() holds the Italian reason.
    bool check(std::span<const Cell> cells);

    // The added texts, valid until the next check().
    std::span<const std::string_view> added() const { return {added_.data(), count_}; }
    std::string_view reason() const { return reason_; }

private:
    bool refuse(std::string reason);

    const Layout& layout_;
    std::vector<Column> used_;
    std::size_t count_;
    std::size_t esito_; // which added column is Esito
    std::array<std::string_view, 4> added_{};
    std::string reason_;
    IbanCalculation calculation_;
};

} // namespace lists
