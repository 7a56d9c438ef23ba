#pragma once

#include <filesystem>
#include <string>

namespace lists {

// The path as messages show it, in UTF-8.
std::string displayName(const std::filesystem::path& path);

// Whether anything (a file, a link, a device) has this name.
bool pathExists(const std::filesystem::path& path);

} // namespace lists
