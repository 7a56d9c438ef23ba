#pragma once

#include <cstdio>
#include <filesystem>

namespace shell {

// std::fopen for a path of any characters: Windows takes a wide name, POSIX its bytes. The mode
// is fopen's ("rb", "wb", "wbx").
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

} // namespace shell
