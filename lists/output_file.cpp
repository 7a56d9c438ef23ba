#include "output_file.h"

#include "conversion.h"
#include "conversion_error.h"
#include "file_names.h"
#include "file_stream.h"
#include "system_reason.h"

#include <cerrno>
#include <random>

namespace lists {
namespace {

constexpr int kNameAttempts = 100;

std::string existsMessage(const std::string& name) {
    return "Il file " + name +
           " esiste già: non lo sovrascrivo. Indica un altro nome con -o, oppure aggiungi "
           "--sovrascrivi.";
}

bool readOnly(const std::filesystem::file_status& status) {
    return (status.permissions() & std::filesystem::perms::owner_write) ==
           std::filesystem::perms::none;
}

} // namespace

OutputFile::OutputFile(std::filesystem::path target, ExistingOutput existing,
                       const std::atomic<bool>* cancelled)
    : target_(std::move(target)), name_(displayName(target_)), existing_(existing),
      cancelled_(cancelled) {
    if (target_ == "-") {
        name_ = "(standard output)";
        stream_ = stdout;
        return;
    }
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(target_, error);
    if (std::filesystem::is_directory(status)) {
        throw ConversionError("Il file di uscita " + name_ + " è una cartella.");
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        // A device or a pipe cannot be replaced, only written to.
        open(target_, "wb");
        return;
    }
    if (pathExists(target_)) {
        if (existing_ == ExistingOutput::Refuse) {
            throw ConversionError(existsMessage(name_));
        }
        if (existing_ == ExistingOutput::Replace && readOnly(status)) {
            throw ConversionError("Il file " + name_ +
                                  " è di sola lettura: non lo sovrascrivo. Rendilo scrivibile, "
                                  "oppure scegli un altro nome.");
        }
    }
    const std::filesystem::path folder = target_.parent_path();
    std::random_device entropy;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    for (int attempt = 0; attempt < kNameAttempts && stream_ == nullptr; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(entropy));
        temporary_ = folder / ".";
        temporary_ += target_.filename();
        temporary_ += suffix;
        // "x": made here and now, never a file that was there.
        stream_ = shell::openFile(temporary_, "wbx");
        if (stream_ == nullptr && errno != EEXIST) {
            const int cause = errno;
            temporary_.clear();
            failed(cause);
        }
    }
    if (stream_ == nullptr) {
        temporary_.clear();
        throw ConversionError("Impossibile creare un file temporaneo accanto a " + name_ + ".");
    }
    leftover_.emplace(temporary_);
}

OutputFile::~OutputFile() {
    if (stream_ != nullptr && stream_ != stdout) {
        std::fclose(stream_);
    }
    if (!committed_ && !temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

// Opening a FIFO waits for its reader; a signal breaks the wait off.
void OutputFile::open(const std::filesystem::path& path, const char* mode) {
    while ((stream_ = shell::openFile(path, mode)) == nullptr && errno == EINTR) {
        if (cancelled_ != nullptr && cancelled_->load()) {
            throw ConversionCancelled();
        }
    }
    if (stream_ == nullptr) {
        failed(errno);
    }
}

void OutputFile::failed(int cause) const {
    if (cause == ENOSPC) {
        throw ConversionError("Il disco è pieno: impossibile scrivere il file " + name_ + ".");
    }
    throw ConversionError("Impossibile scrivere il file " + name_ + ": " +
                          shell::systemReason(cause) + ".");
}

// Gives the temporary file the name, only if no file has it: false when one has.
bool OutputFile::placeAt(const std::filesystem::path& name) {
    std::error_code error;
    // A hard link is made only where no file is: nothing that appeared meanwhile is lost.
    std::filesystem::create_hard_link(temporary_, name, error);
    if (error == std::errc::file_exists) {
        return false;
    }
    if (!error) {
        std::filesystem::remove(temporary_, error);
        return true;
    }
    if (pathExists(name)) {
        return false;
    }
    // The file system has no hard links (FAT, some network shares).
    error.clear();
    std::filesystem::rename(temporary_, name, error);
    if (error) {
        throw ConversionError("Impossibile salvare il file " + name_ + ": " +
                              shell::systemReason(error) + ".");
    }
    return true;
}

void OutputFile::commit() {
    if (stream_ == stdout) {
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            failed(errno);
        }
        committed_ = true;
        return;
    }
    if (stream_ != nullptr) {
        errno = 0;
        const bool flushed = std::fflush(stream_) == 0 && !std::ferror(stream_);
        int cause = errno;
        const bool closed = std::fclose(stream_) == 0;
        stream_ = nullptr;
        if (!flushed || !closed) {
            failed(cause != 0 ? cause : errno);
        }
    }
    if (temporary_.empty()) {
        committed_ = true;
        return;
    }
    switch (existing_) {
    case ExistingOutput::Replace: {
        std::error_code error;
        const std::filesystem::file_status old = std::filesystem::status(target_, error);
        if (std::filesystem::is_regular_file(old)) {
            std::filesystem::permissions(temporary_, old.permissions(), error);
            shell::copyOwner(target_, temporary_);
        }
        error.clear();
        std::filesystem::rename(temporary_, target_, error);
        if (error) {
            throw ConversionError("Impossibile salvare il file " + name_ + ": " +
                                  shell::systemReason(error) + ".");
        }
        break;
    }
    case ExistingOutput::Refuse:
        if (!placeAt(target_)) {
            throw ConversionError(existsMessage(name_));
        }
        break;
    case ExistingOutput::FreeName: {
        std::filesystem::path name = target_;
        for (int number = 2; !placeAt(name); ++number) {
            name = numberedName(target_, number);
        }
        target_ = name;
        name_ = displayName(target_);
        break;
    }
    }
    committed_ = true;
}

} // namespace lists
