#include "iban_calculation.h"

#include "calcola_iban.h"

#include <QString>

#include <algorithm>

namespace lists {
namespace {

constexpr std::size_t kShortField = 64;

std::string_view withoutSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The field as the engine reads it. A short ASCII field is widened into `room` and lent to a
// QString without a copy of its own, which spares an allocation per field on a long list.
QString engineText(std::string_view field, std::array<char16_t, kShortField>& room) {
    field = withoutSpaces(field);
    if (field.size() <= room.size()) {
        unsigned char high = 0;
        for (std::size_t i = 0; i < field.size(); ++i) {
            const auto c = static_cast<unsigned char>(field[i]);
            high |= c;
            room[i] = c;
        }
        if (high < 0x80) {
            return QString::fromRawData(reinterpret_cast<const QChar*>(room.data()),
                                        static_cast<qsizetype>(field.size()));
        }
    }
    return QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()));
}

} // namespace

bool IbanCalculation::calculate(std::string_view abi, std::string_view cab,
                                std::string_view conto) {
    std::array<char16_t, kShortField> abiRoom, cabRoom, contoRoom;
    const Module1::EsitoCalcolo esito = Module1::CalcolaIBAN(
        engineText(abi, abiRoom), engineText(cab, cabRoom), engineText(conto, contoRoom));
    if (!esito.calcolato) {
        reason_ = esito.avviso.toStdString();
        return false;
    }
    const QChar* iban = esito.iban.constData();
    for (std::size_t i = 0; i < iban_.size(); ++i) {
        iban_[i] = static_cast<char>(iban[i].unicode());
    }
    return true;
}

} // namespace lists
