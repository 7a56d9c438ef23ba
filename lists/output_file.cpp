#include "output_file.h"

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

} // namespace

OutputFile::OutputFile(std::filesystem::path target, bool overwrite)
    : target_(std::move(target)), name_(displayName(target_)), overwrite_(overwrite) {
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
        stream_ = shell::openFile(target_, "wb");
        if (stream_ == nullptr) {
            failed(errno);
        }
        return;
    }
    if (!overwrite_ && pathExists(target_)) {
        throw ConversionError(existsMessage(name_));
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

void OutputFile::failed(int cause) const {
    if (cause == ENOSPC) {
        throw ConversionError("Il disco è pieno: impossibile scrivere il file " + name_ + ".");
    }
    throw ConversionError("Impossibile scrivere il file " + name_ + ": " +
                          shell::systemReason(cause) + ".");
}

const std::filesystem::path& OutputFile::writtenPath() const {
    return temporary_.empty() ? target_ : temporary_;
}

void OutputFile::closeStream() {
    if (stream_ != nullptr && stream_ != stdout) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
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
    std::error_code error;
    if (overwrite_) {
        std::filesystem::rename(temporary_, target_, error);
    } else {
        // A hard link is made only where no file is: nothing that appeared meanwhile is lost.
        std::filesystem::create_hard_link(temporary_, target_, error);
        if (error == std::errc::file_exists) {
            throw ConversionError(existsMessage(name_));
        }
        if (!error) {
            std::filesystem::remove(temporary_, error);
            error.clear();
        } else if (!pathExists(target_)) {
            // The file system has no hard links (FAT, some network shares).
            error.clear();
            std::filesystem::rename(temporary_, target_, error);
        }
    }
    if (error) {
        throw ConversionError("Impossibile salvare il file " + name_ + ": " +
                              shell::systemReason(error) + ".");
    }
    committed_ = true;
}

} // namespace lists
