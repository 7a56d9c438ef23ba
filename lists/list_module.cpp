#include "list_module.h"

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

} // namespace lists
