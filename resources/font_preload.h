#pragma once

#include <future>

namespace look {

// Reads the system's font configuration on a thread of its own, so that the reading overlaps
// Qt's connection to the display instead of delaying the first frame, and adds to it the design
// faces that the system keeps outside its font folders. Start it before the QApplication and
// wait for it before registerFonts(): a font lookup made while the reading is still running
// would read the whole configuration a second time, and would miss the added faces.
std::future<void> preloadFonts();

// Builds Qt's list of installed faces on a thread of its own, while the main thread goes on with
// work that needs no font. Start it once the QApplication exists (Qt asks the platform for the
// list) and preloadFonts() is done; wait for it before registerFonts().
std::future<void> listFonts();

} // namespace look
