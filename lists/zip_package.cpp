#include "zip_package.h"

namespace lists {

ZipPackage::ZipPackage(const std::filesystem::path& path, std::string fileName)
    : fileName_(std::move(fileName)) {
    try {
        stream_ = std::make_unique<orcus::zip_archive_stream_fd>(path.string().c_str());
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
