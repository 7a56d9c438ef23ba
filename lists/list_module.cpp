#include "list_module.h"

#include "file_names.h"

namespace lists {

ListOutcome convertList(const ConversionRequest& request, const ConversionHooks& hooks) {
    ListOutcome outcome;
    try {
        outcome.summary = convert(request, hooks);
    } catch (const ColumnsNotFound& error) {
        outcome.error = error.what();
        outcome.headers = error.headers();
    } catch (const ConversionError& error) {
        outcome.error = error.what();
    } catch (const ConversionCancelled&) {
        outcome.cancelled = true;
    } catch (const std::exception& error) {
        outcome.error = std::string("La conversione si è fermata per un errore inatteso (") +
                        error.what() + "): nessun file è stato scritto.";
    }
    return outcome;
}

PreviewOutcome previewListOutcome(const std::filesystem::path& input, const std::string& sheet) {
    PreviewOutcome outcome;
    try {
        outcome.preview = previewList(input, sheet);
    } catch (const ConversionError& error) {
        outcome.error = error.what();
    } catch (const std::bad_alloc&) {
        outcome.error = "Memoria insufficiente per leggere il file " + displayName(input) + ".";
    } catch (const std::exception& error) {
        outcome.error =
            std::string("La lettura si è fermata per un errore inatteso (") + error.what() + ").";
    }
    return outcome;
}

} // namespace lists
