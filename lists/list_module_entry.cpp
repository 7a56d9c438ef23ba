#include "list_module.h"

// The entry points that the module exports: plain C linkage, so that their names are known.
extern "C" void bviban_convert_list(const lists::ConversionRequest& request,
                                    const lists::ConversionHooks& hooks,
                                    lists::ListOutcome& outcome) {
    outcome = lists::convertList(request, hooks);
}

extern "C" void bviban_preview_list(const std::filesystem::path& input, const std::string& sheet,
                                    lists::PreviewOutcome& outcome) {
    outcome = lists::previewListOutcome(input, sheet);
}
