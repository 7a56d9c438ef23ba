#pragma once

#include <stdexcept>
#include <string>

namespace lists {

// A failure of the whole file (unreadable, not a table, a write that fails, a full disk): the
// conversion stops and leaves nothing under the output's name. The message is Italian, in
// UTF-8, and names the file and, where it helps, the line or the cell.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user, or a signal, asked the conversion to stop.
class ConversionCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "conversione annullata"; }
};

} // namespace lists
