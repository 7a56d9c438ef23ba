#include "file_stream.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace shell {

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wide(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wide.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

std::ptrdiff_t readSome(std::FILE* file, char* buffer, std::size_t size) {
#ifdef _WIN32
    const std::size_t got = std::fread(buffer, 1, size, file);
    return got == 0 && std::ferror(file) ? -1 : static_cast<std::ptrdiff_t>(got);
#else
    for (;;) {
        const ssize_t got = ::read(fileno(file), buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
#endif
}

} // namespace shell
