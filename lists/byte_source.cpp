#include "byte_source.h"

#include "conversion_error.h"
#include "file_names.h"
#include "file_stream.h"
#include "system_reason.h"

#include <cerrno>
#include <cstring>

namespace lists {

ByteSource::ByteSource(const std::filesystem::path& path, const std::atomic<bool>* cancelled)
    : cancelled_(cancelled), name_(displayName(path)) {
    if (path == "-") {
        file_ = stdin;
    } else {
        // Opening a FIFO waits for its writer; a signal breaks the wait off.
        while ((file_ = shell::openFile(path, "rb")) == nullptr && errno == EINTR) {
            if (cancelled_ != nullptr && cancelled_->load()) {
                throw ConversionCancelled();
            }
        }
        if (file_ == nullptr) {
            const int cause = errno;
            if (cause == ENOENT) {
                throw ConversionError("Il file " + name_ + " non esiste.");
            }
            throw ConversionError("Impossibile aprire il file " + name_ + ": " +
                                  shell::systemReason(cause) + ".");
        }
        ownsFile_ = true;
    }
    // Blocks are read whole; stdio's own buffer would only copy them once more.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    // What is left to read, when the input can tell (a file can, a pipe cannot).
    const long start = std::ftell(file_);
    if (start >= 0 && std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        if (end >= start && std::fseek(file_, start, SEEK_SET) == 0) {
            size_ = static_cast<std::uint64_t>(end - start);
        }
    }
    std::clearerr(file_);
}

ByteSource::ByteSource(std::FILE* stream, std::string name)
    : file_(stream), name_(std::move(name)) {}

ByteSource::~ByteSource() {
    if (ownsFile_) {
        std::fclose(file_);
    }
}

std::size_t ByteSource::read(char* to, std::size_t size) {
    std::ptrdiff_t got = 0;
    while ((got = shell::readSome(file_, to, size)) < 0 && errno == EINTR) {
        if (cancelled_ != nullptr && cancelled_->load()) {
            throw ConversionCancelled();
        }
    }
    if (got < 0) {
        const int cause = errno;
        throw ConversionError("Errore di lettura nel file " + name_ + ": " +
                              shell::systemReason(cause) + ".");
    }
    bytesRead_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
}

} // namespace lists
