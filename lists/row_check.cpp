#include "row_check.h"

#include "testi.h"

namespace lists {
namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kDiverso = "IBAN valido, ma diverso da quello di ABI, CAB e conto";

std::string_view kindOf(verifier::Esito esito) {
    switch (esito) {
    case verifier::Esito::Valido:
    case verifier::Esito::Vuoto:
        break;
    case verifier::Esito::CarattereNonAmmesso:
        return "IBAN con un carattere che non vi può stare";
    case verifier::Esito::PaeseNonLettere:
    case verifier::Esito::PaeseSconosciuto:
        return "IBAN senza la sigla di un paese che lo usa";
    case verifier::Esito::Lunghezza:
        return "IBAN di lunghezza sbagliata";
    case verifier::Esito::Struttura:
        return "IBAN con lettere e cifre fuori posto";
    case verifier::Esito::Controllo:
        return "IBAN con cifre di controllo o CIN sbagliati";
    }
    return "IBAN mancante";
}

} // namespace

RowCheck::RowCheck(const Layout& layout)
    : layout_(layout), used_(layout.used()), count_(layout.titles().size()),
      esito_(layout.mode == Mode::Verifica ? 0 : 1) {}

bool RowCheck::refuse() {
    added_.fill({});
    added_[esito_] = reason_;
    kind_ = reason_;
    return false;
}

bool RowCheck::check(std::span<const Cell> cells) {
    if (missingColumns(cells)) {
        return refuse();
    }
    switch (layout_.mode) {
    case Mode::Calcolo:
        return calcolo(cells);
    case Mode::Verifica:
        return verifica(cells);
    case Mode::Confronto:
        break;
    }
    return confronto(cells);
}

// A row too short for the columns read: "Riga incompleta: manca la colonna Conto."
bool RowCheck::missingColumns(std::span<const Cell> cells) {
    std::array<std::string_view, 4> missing;
    std::size_t count = 0;
    for (const Column column : used_) {
        if (layout_.of(column) >= cells.size()) {
            missing[count++] = columnTitle(column);
        }
    }
    if (count == 0) {
        return false;
    }
    reason_ =
        count == 1 ? "Riga incompleta: manca la colonna " : "Riga incompleta: mancano le colonne ";
    for (std::size_t i = 0; i < count; ++i) {
        reason_ += i == 0 ? "" : i + 1 == count ? " e " : ", ";
        reason_ += missing[i];
    }
    reason_ += '.';
    return true;
}

// The Calculate command on the row's ABI, CAB and account; false, with its refusal as the
// row's Esito, when it refuses them.
bool RowCheck::calculate(std::span<const Cell> cells) {
    const auto field = [&](Column column) { return cells[layout_.of(column)].text; };
    if (calculation_.calculate(field(Column::Abi), field(Column::Cab), field(Column::Conto))) {
        return true;
    }
    reason_ = calculation_.reason();
    return refuse();
}

bool RowCheck::calcolo(std::span<const Cell> cells) {
    if (!calculate(cells)) {
        return false;
    }
    added_[0] = calculation_.iban();
    added_[1] = kOk;
    return true;
}

bool RowCheck::verifica(std::span<const Cell> cells) {
    verifier::verifica(cells[layout_.of(Column::Iban)].text, verdict_);
    if (!verdict_.valido()) {
        invalidReason({});
        refuse();
        kind_ = kindOf(verdict_.esito);
        return false;
    }
    added_[0] = kOk;
    added_[1] = verdict_.abi();
    added_[2] = verdict_.cab();
    added_[3] = verdict_.conto();
    return true;
}

bool RowCheck::confronto(std::span<const Cell> cells) {
    if (!calculate(cells)) {
        return false;
    }
    const std::string_view computed = calculation_.iban();
    added_[0] = computed;
    verifier::verifica(cells[layout_.of(Column::Iban)].text, verdict_);
    if (!verdict_.valido()) {
        invalidReason(computed);
        added_[1] = reason_;
        kind_ = kindOf(verdict_.esito);
        return false;
    }
    if (verdict_.elettronico != computed) {
        reason_ = "L'IBAN indicato è valido, ma ABI, CAB e conto danno ";
        reason_ += computed;
        reason_ += '.';
        added_[1] = reason_;
        kind_ = kDiverso;
        return false;
    }
    added_[1] = kOk;
    return true;
}

void RowCheck::invalidReason(std::string_view computed) {
    reason_.clear();
    verifier::aggiungiMotivo(verdict_, reason_);
    const verifier::Suggerimenti& suggestions = verdict_.suggerimenti;
    for (int i = 0; i < suggestions.numero; ++i) {
        // The IBAN of the row's own coordinates is the suggestion that settles it.
        if (!computed.empty() && suggestions[i] == computed) {
            reason_ += " Forse intendevi ";
            reason_ += computed;
            reason_ += ", che è quello di ABI, CAB e conto.";
            return;
        }
    }
    if (suggestions.numero == 1) {
        reason_ += " Forse intendevi ";
        reason_ += suggestions[0];
        reason_ += '.';
    } else if (suggestions.numero > 1) {
        reason_ += " Forse intendevi uno di questi: ";
        for (int i = 0; i < suggestions.numero; ++i) {
            reason_ += i == 0 ? "" : ", ";
            reason_ += suggestions[i];
        }
        reason_ += '.';
    }
}

} // namespace lists
