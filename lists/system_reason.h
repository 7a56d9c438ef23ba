#pragma once

#include <string>

namespace lists {

// What an operating-system error number means, in Italian, for the end of a message.
std::string systemReason(int error);

} // namespace lists
