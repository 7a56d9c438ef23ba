#pragma once

#include <string>
#include <system_error>

namespace shell {

// What an operating-system error number means, in Italian, for the end of a message.
std::string systemReason(int error);
// The same for an error of std::filesystem, which on Windows is not an errno value.
std::string systemReason(const std::error_code& error);

} // namespace shell
