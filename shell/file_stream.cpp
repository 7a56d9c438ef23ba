#include "file_stream.h"

#include <string>

#ifdef _WIN32
#include <algorithm>
#include <climits>
#include <io.h>
#else
#include <cerrno>
#include <sys/stat.h>
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
    const int descriptor = _fileno(file);
#else
    const int descriptor = fileno(file);
#endif
    if (descriptor < 0) {
        // A memory stream has no descriptor, and never keeps a reader waiting.
        const std::size_t got = std::fread(buffer, 1, size, file);
        return got == 0 && std::ferror(file) ? -1 : static_cast<std::ptrdiff_t>(got);
    }
#ifdef _WIN32
    // Not fread, which waits until the whole block is in.
    return _read(descriptor, buffer, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
#else
    return ::read(descriptor, buffer, size);
#endif
}

void copyOwner(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
    (void)from;
    (void)to;
#else
    struct stat status {};
    // Only root may give a file away: for anyone else it stays theirs.
    if (::stat(from.c_str(), &status) != 0 ||
        ::chown(to.c_str(), status.st_uid, status.st_gid) != 0) {
        return;
    }
#endif
}

} // namespace shell
