#include "background_task.h"
#include "font_preload.h"

#include <fontconfig/fontconfig.h>

namespace look {

namespace {

// Debian's fonts-wine ships a Tahoma-compatible face in a folder fontconfig does not scan.
// Windows has the real faces, and the file is absent there. Its bold file is left out: its
// outlines are as thin as the regular ones, while Qt's emboldened regular face looks bold.
constexpr char kWineTahoma[] = "/usr/share/wine/fonts/tahoma.ttf";

void readConfigurationAndAddFaces() {
    // Qt's font database calls FcInit() itself; once this has run, that call finds the
    // configuration and the font caches loaded.
    FcInit();
    // Given to fontconfig rather than to Qt, the face is scanned here, off the main thread, and
    // Qt lists it with the system's faces when it first builds its font list. Without the file
    // this adds nothing.
    FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(kWineTahoma));
}

} // namespace

std::future<void> preloadFonts() {
    return runInBackground(readConfigurationAndAddFaces);
}

} // namespace look
