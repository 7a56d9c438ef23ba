#include "conversion.h"

#include "number_text.h"

namespace lists {

std::string summaryText(const Summary& summary) {
    std::string text = "Righe lette: " + groupedDigits(summary.rowsRead);
    std::string notes;
    if (summary.dataRows != summary.rowsRead) {
        notes = "righe di dati: " + groupedDigits(summary.dataRows);
    }
    if (summary.windows1252LineCount > 0) {
        notes += notes.empty() ? "" : "; ";
        notes += "righe lette come Windows-1252: ";
        for (std::size_t i = 0; i < summary.windows1252Lines.size(); ++i) {
            notes += (i == 0 ? "" : ", ") + std::to_string(summary.windows1252Lines[i]);
        }
        if (summary.windows1252LineCount > summary.windows1252Lines.size()) {
            notes += " e altre " +
                     groupedDigits(summary.windows1252LineCount - summary.windows1252Lines.size());
        }
    }
    if (!notes.empty()) {
        text += " (" + notes + ")";
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
