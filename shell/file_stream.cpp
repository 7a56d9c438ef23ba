#include "file_stream.h"

#include <string>

#ifdef _WIN32
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace shell {

std::filesystem::path utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    std::string plain(mode);
    const std::size_t exclusive = plain.find('x');
    if (exclusive == std::string::npos) {
        const std::wstring wide(plain.begin(), plain.end());
        return _wfopen(path.c_str(), wide.c_str());
    }
    // The C runtime's fopen knows no "x": the file is made by open, which can refuse one that
    // is there.
    plain.erase(exclusive, 1);
    const int descriptor =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, plain.c_str());
    if (file == nullptr) {
        const int cause = errno;
        _close(descriptor);
        errno = cause;
    }
    return file;
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
