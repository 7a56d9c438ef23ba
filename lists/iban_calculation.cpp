#include "iban_calculation.h"

#include "alfabeti.h"
#include "calcola_iban.h"

#include <QString>

#include <algorithm>

namespace lists {
namespace {

std::string_view withoutSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool IbanCalculation::calculate(std::string_view abi, std::string_view cab,
                                std::string_view conto) {
    abi = withoutSpaces(abi);
    cab = withoutSpaces(cab);
    conto = withoutSpaces(conto);
    const bool ascii = std::all_of(conto.begin(), conto.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        const Module1::EsitoCalcoloTesto esito = Module1::CalcolaIBAN(abi, cab, conto);
        if (!esito.calcolato) {
            reason_ = esito.avviso;
            return false;
        }
        iban_ = esito.iban;
        return true;
    }
    // Upper-casing beyond ASCII can make a letter ("ı" is "I"): the window's own way.
    const Module1::EsitoCalcolo esito =
        Module1::CalcolaIBAN(qtext(abi), qtext(cab), Module1::alfabeti::maiuscolo(qtext(conto)));
    if (!esito.calcolato) {
        reason_ = esito.avviso.toStdString();
        return false;
    }
    std::transform(esito.iban.cbegin(), esito.iban.cend(), iban_.begin(),
                   [](QChar c) { return static_cast<char>(c.unicode()); });
    return true;
}

} // namespace lists
