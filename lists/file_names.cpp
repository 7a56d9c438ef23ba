#include "file_names.h"

namespace lists {

std::string displayName(const std::filesystem::path& path) {
    if (path == "-") {
        return "(standard input)";
    }
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool pathExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

} // namespace lists
