#include "font_preload.h"

#include <fontconfig/fontconfig.h>

namespace look {

std::future<void> preloadFontConfiguration() {
    // Qt's font database calls FcInit() itself; once this has run, that call finds the
    // configuration and the font caches loaded.
    return std::async(std::launch::async, [] { FcInit(); });
}

} // namespace look
