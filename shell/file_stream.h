#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace shell {

// The path that UTF-8 text names, such as a command-line argument: Windows takes it as the
// wide name it converts to, POSIX as its bytes.
std::filesystem::path utf8Path(std::string_view text);

// std::fopen for a path of any characters: Windows takes a wide name, POSIX its bytes. The mode
// is fopen's ("rb", "wb", "wbx").
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

// Reads what is there, up to `size` bytes, waiting only until some bytes come: a pipe fed
// slowly gives what it has instead of holding the reader until `size` bytes are in. Returns
// how many were read, 0 at the end, -1 on an error (errno says which; EINTR when a signal broke
// the wait off, which the caller may take as a request to stop). A stream with a file
// descriptor is read through it and must be unbuffered (setvbuf _IONBF) so that no byte waits
// in stdio's buffer; a memory stream (fmemopen) is read as it is.
std::ptrdiff_t readSome(std::FILE* file, char* buffer, std::size_t size);

// Gives `to` the owner and group of `from`, where the system allows it (root, on POSIX).
void copyOwner(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace shell
