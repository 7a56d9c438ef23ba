#include "background_task.h"
#include "font_preload.h"

#include <fontconfig/fontconfig.h>

namespace look {

namespace {

// Debian's fonts-wine ships a Tahoma-compatible face in a folder fontconfig does not scan.
// Windows has the real faces, and the file is absent there. Its bold file is left out: its
// outlines are as thin as the regular ones, while Qt's emboldened regular face looks bold.
constexpr char kWineTahoma[] = "/usr/share/wine/fonts/tahoma.ttf";

bool hasCacheFolders(FcConfig* config) {
    FcStrList* folders = FcConfigGetCacheDirs(config);
    const bool any = folders != nullptr && FcStrListNext(folders) != nullptr;
    FcStrListDone(folders);
    return any;
}

// Reads the system's and the user's configuration as FcInit() does, less FcInit()'s second pass
// over the distribution's templates of optional rules (conf.avail), which it parses only to
// collect their descriptions for fc-conflist: a third of its work here. Where the reading fails,
// or finds no cache folder, FcInit() is left to its own fallbacks.
bool loadConfiguration() {
    FcConfig* config = FcConfigCreate();
    if (config == nullptr)
        return false;
    const bool loaded = FcConfigParseAndLoad(config, nullptr, FcTrue) && hasCacheFolders(config) &&
                        FcConfigSetCurrent(config);
    // Once current, the configuration holds a reference of its own.
    FcConfigDestroy(config);
    return loaded;
}

void readConfigurationAndAddFaces() {
    // Qt's font database calls FcInit() itself; once this has run, that call finds the
    // configuration and the font caches loaded.
    if (!loadConfiguration())
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
