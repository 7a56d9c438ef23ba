#pragma once

#include <string>
#include <system_error>

namespace shell {

// What an operating-system error number means, in Italian, for the end of a message: one table
// for every error the program's calls can give; a number beyond it gives "errore di sistema N".
std::string systemReason(int error);
// The same for an error of std::filesystem, which on Windows is not an errno value.
std::string systemReason(const std::error_code& error);

} // namespace shell
