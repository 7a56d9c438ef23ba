#pragma once

#include <future>

namespace look {

// Reads the system's font configuration on a thread of its own, so that the reading overlaps
// Qt's connection to the display instead of delaying the first frame. Start it before the
// QApplication and wait for it before registerFonts(): a font lookup made while the reading is
// still running would read the whole configuration a second time.
std::future<void> preloadFontConfiguration();

} // namespace look
