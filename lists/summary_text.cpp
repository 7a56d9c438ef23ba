#include "conversion.h"

#include "number_text.h"

namespace lists {

std::string summaryText(const Summary& summary) {
    std::string text = "Righe lette: " + groupedDigits(summary.rowsRead);
    if (summary.dataRows != summary.rowsRead) {
        text += " (righe di dati: " + groupedDigits(summary.dataRows) + ")";
    }
    text += "\nRighe OK: " + groupedDigits(summary.rowsOk);
    text += "\nRighe con un motivo: " + groupedDigits(summary.rowsWithReason);
    for (const auto& [reason, count] : summary.reasons) {
        text += "\n  " + groupedDigits(count) + " × " + reason;
    }
    text += "\nTempo: " + durationText(summary.elapsed);
    return text;
}

} // namespace lists
