#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The program's standard streams as a command-line program uses them: raw bytes, no buffer of
// the library in between, reads that return as soon as some input is there. Free of Qt.
namespace shell::console {

enum class Stream { Input, Output, Error };

// The program's arguments, its name first, in UTF-8: Windows gives them from its wide command
// line (the narrow argv holds only what the system's code page can), elsewhere they are argv's.
std::vector<std::string> arguments(int argc, const char* const* argv);

// Makes the three streams pass bytes as they are (Windows would otherwise translate line ends
// and stop at Ctrl+Z); called once, before the first read or write.
void useBinaryMode();

// Whether the stream is a terminal (a person is reading or typing), not a file or a pipe.
bool isTerminal(Stream stream);

// Reads up to `size` bytes of standard input: how many were read, 0 at its end, -1 on an error
// (errorText() says which).
std::ptrdiff_t read(char* buffer, std::size_t size);

// Writes all `size` bytes to standard output or standard error; false on an error. On Windows
// a console window shows them as the UTF-8 text that they are, whatever its code page.
bool write(Stream stream, const char* data, std::size_t size);

// What the failed read or write just made met, in Italian.
std::string errorText();

} // namespace shell::console
