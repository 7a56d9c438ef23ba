#pragma once

#include <string>

namespace lists {

// A write to the output that failed with errno `cause`, as the ConversionError the user reads:
// a full disk said plainly, any other cause by the system's reason.
[[noreturn]] void writeFailed(const std::string& fileName, int cause);

} // namespace lists
