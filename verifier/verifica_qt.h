#pragma once

#include "verifica_iban.h"

#include <QString>
#include <QStringView>

// The verifier for callers that hold QStrings (the windows). Positions in its texts count
// characters, as the UTF-8 functions do.
namespace verifier {

Risultato verifica(QStringView testo);
bool sembraUnIBAN(QStringView testo);

// A text of the verifier (electronic form, motivo(), cartaceo(), ...) as a QString.
inline QString qtesto(std::string_view testo) {
    return QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
}

} // namespace verifier
