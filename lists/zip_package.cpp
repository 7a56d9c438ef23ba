#include "zip_package.h"

#include "file_stream.h"
#include "system_reason.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace lists {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The package's file, opened by shell::openFile: orcus's own file stream opens a narrow name,
// which Windows reads in its ANSI code page, losing any name outside it.
class FileStream : public orcus::zip_archive_stream {
public:
    explicit FileStream(File file) : file_(std::move(file)) {
        // A file whose end cannot be found reads as empty, which is no zip archive.
        if (std::fseek(file_.get(), 0, SEEK_END) == 0) {
            size_ = static_cast<std::size_t>(std::max(std::ftell(file_.get()), 0L));
        }
    }

    std::size_t size() const override { return size_; }
    std::size_t tell() const override { return static_cast<std::size_t>(std::ftell(file_.get())); }
    void seek(std::size_t position) override {
        if (position > size_ ||
            std::fseek(file_.get(), static_cast<long>(position), SEEK_SET) != 0) {
            throw orcus::zip_error("seek beyond the end");
        }
    }
    void read(unsigned char* buffer, std::size_t length) const override {
        if (std::fread(buffer, 1, length, file_.get()) != length) {
            throw orcus::zip_error("read beyond the end");
        }
    }

private:
    File file_;
    std::size_t size_ = 0;
};

} // namespace

ZipPackage::ZipPackage(const std::filesystem::path& path, std::string fileName)
    : fileName_(std::move(fileName)) {
    File file(shell::openFile(path, "rb"));
    if (file == nullptr) {
        const int cause = errno;
        throw ConversionError("Impossibile aprire il file " + fileName_ + ": " +
                              shell::systemReason(cause) + ".");
    }
    try {
        stream_ = std::make_unique<FileStream>(std::move(file));
        archive_ = std::make_unique<orcus::zip_archive>(stream_.get());
        archive_->load();
    } catch (const std::exception&) {
        unreadable("non è un archivio zip integro");
    }
}

ZipPackage::~ZipPackage() = default;

void ZipPackage::unreadable(const std::string& why) const {
    throw ConversionError("Il file " + fileName_ + " non è un foglio di calcolo leggibile (" + why +
                          ").");
}

bool ZipPackage::has(std::string_view entry) const {
    for (std::size_t i = 0; i < archive_->get_file_entry_count(); ++i) {
        if (archive_->get_file_entry_name(i) == entry) {
            return true;
        }
    }
    return false;
}

std::vector<unsigned char> ZipPackage::read(std::string_view entry) const {
    std::vector<unsigned char> bytes;
    try {
        if (!archive_->read_file_entry(entry, bytes)) {
            unreadable("manca la parte " + std::string(entry));
        }
    } catch (const ConversionError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw ConversionError("Memoria insufficiente per leggere il file " + fileName_ + ".");
    } catch (const std::exception&) {
        unreadable("la parte " + std::string(entry) + " è danneggiata");
    }
    return bytes;
}

} // namespace lists
