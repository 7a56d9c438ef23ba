#pragma once

#include "cell.h"
#include "columns.h"
#include "iban_calculation.h"

#include "verifica_iban.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

// Fills the added columns of a data row for the layout's mode, and says whether it is OK:
//   Calcolo:   IBAN, Esito       the IBAN of ABI, CAB and account, or the command's refusal;
//   Verifica:  Esito, ABI, CAB, Conto   the verifier's verdict, and the parts of a valid IBAN;
//   Confronto: IBAN calcolato, Esito    the given IBAN checked, then compared with the computed.
// A reason that the verifier can mend with a typo suggestion names it.
class RowCheck {
public:
    explicit RowCheck(const Layout& layout);

    // True when the row's Esito is OK; otherwise reason() holds the Italian reason.
    bool check(std::span<const Cell> cells);

    // The added texts, valid until the next check().
    std::span<const std::string_view> added() const { return {added_.data(), count_}; }
    std::string_view reason() const { return reason_; }
    // The reason's kind, for the summary's counts: the reason itself when it names nothing of
    // the row's own (a refusal of the Calculate command), else a short description of its kind
    // (a wrong check digit, whichever digits they are). There are few kinds, however long the
    // list.
    std::string_view kind() const { return kind_; }

private:
    bool missingColumns(std::span<const Cell> cells);
    bool calculate(std::span<const Cell> cells);
    bool calcolo(std::span<const Cell> cells);
    bool verifica(std::span<const Cell> cells);
    bool confronto(std::span<const Cell> cells);
    // Esito is reason_, which is also its kind.
    bool refuse();
    // The verifier's reason for an invalid IBAN, with its suggestions, into reason_.
    void invalidReason(std::string_view computed);

    const Layout& layout_;
    std::vector<Column> used_;
    std::size_t count_;
    std::size_t esito_; // which added column is Esito
    std::array<std::string_view, 4> added_{};
    std::string reason_;
    std::string_view kind_;
    IbanCalculation calculation_;
    verifier::Risultato verdict_;
};

} // namespace lists
