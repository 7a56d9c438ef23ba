#include "list_module.h"

// The entry point that the module exports: plain C linkage, so that its name is known.
extern "C" void bviban_convert_list(const lists::ConversionRequest& request,
                                    const lists::ConversionHooks& hooks,
                                    lists::ListOutcome& outcome) {
    outcome = lists::convertList(request, hooks);
}
