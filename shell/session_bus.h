#pragma once

#include <future>

namespace shell {

// Connects to the desktop's session bus on a thread of its own. Qt's accessibility bridge asks
// for that connection when the first widget checks whether accessibility is on; the main thread
// would otherwise wait for it there, or, where no bus runs, for D-Bus's attempt to start one.
// Call it once the QApplication exists; the future is ready when the attempt has ended.
std::future<void> connectSessionBus();

} // namespace shell
