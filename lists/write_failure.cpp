#include "write_failure.h"

#include "conversion_error.h"
#include "system_reason.h"

#include <cerrno>

namespace lists {

void writeFailed(const std::string& fileName, int cause) {
    if (cause == ENOSPC) {
        throw ConversionError("Il disco è pieno: impossibile scrivere il file " + fileName + ".");
    }
    throw ConversionError("Errore di scrittura nel file " + fileName + ": " +
                          shell::systemReason(cause) + ".");
}

} // namespace lists
