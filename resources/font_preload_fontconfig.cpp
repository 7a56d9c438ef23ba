#include "font_preload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace look {

std::future<void> preloadFontConfiguration() {
    // Qt's font database calls FcInit() itself; once this has run, that call finds the
    // configuration and the font caches loaded.
    try {
        return std::async(std::launch::async, [] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt reads the configuration itself when it first needs a font.
        std::promise<void> nothingRead;
        nothingRead.set_value();
        return nothingRead.get_future();
    }
}

} // namespace look
