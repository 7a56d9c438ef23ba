#include "zip_archive.h"

#include "conversion_error.h"
#include "file_stream.h"
#include "system_reason.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace lists {

ZipEntry::ZipEntry(const ZipArchive& archive, std::string name, zip_file* file,
                   std::uint64_t claimedSize)
    : archive_(archive), name_(std::move(name)), file_(file), claimedSize_(claimedSize) {}

ZipEntry::~ZipEntry() {
    zip_fclose(file_);
}

std::size_t ZipEntry::read(char* to, std::size_t size) {
    const zip_int64_t got = zip_fread(file_, to, size);
    if (got < 0) {
        // A wrong checksum, a stream that inflates to more or less than its header says.
        archive_.unreadable("la parte " + name_ + " è danneggiata");
    }
    read_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
}

const std::string& ZipEntry::archiveName() const {
    return archive_.fileName();
}

double ZipEntry::progress() const {
    return claimedSize_ == 0
               ? 1.0
               : std::min(1.0, static_cast<double>(read_) / static_cast<double>(claimedSize_));
}

ZipArchive::ZipArchive(const std::filesystem::path& path, std::string fileName)
    : fileName_(std::move(fileName)) {
    // Opened by shell::openFile: a name outside Windows's ANSI code page opens there too.
    std::FILE* file = shell::openFile(path, "rb");
    if (file == nullptr) {
        const int cause = errno;
        throw ConversionError("Impossibile aprire il file " + fileName_ + ": " +
                              shell::systemReason(cause) + ".");
    }
    zip_error_t error;
    zip_error_init(&error);
    // The source closes the file, also when the archive cannot be opened.
    zip_source_t* source = zip_source_filep_create(file, 0, -1, &error);
    if (source == nullptr) {
        std::fclose(file);
        zip_error_fini(&error);
        unreadable("non è un archivio zip integro");
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (archive_ == nullptr) {
        zip_source_free(source);
        unreadable("non è un archivio zip integro");
    }
}

ZipArchive::~ZipArchive() {
    zip_discard(archive_);
}

void ZipArchive::unreadable(const std::string& why) const {
    throw ConversionError("Il file " + fileName_ + " non è un foglio di calcolo leggibile (" + why +
                          ").");
}

bool ZipArchive::has(std::string_view entry) const {
    return zip_name_locate(archive_, std::string(entry).c_str(), ZIP_FL_ENC_RAW) >= 0;
}

std::unique_ptr<ZipEntry> ZipArchive::open(std::string_view entry) const {
    const std::string name(entry);
    const zip_int64_t index = zip_name_locate(archive_, name.c_str(), ZIP_FL_ENC_RAW);
    if (index < 0) {
        unreadable("manca la parte " + name);
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        unreadable("la parte " + name + " è danneggiata");
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE) {
        throw ConversionError("Il file " + fileName_ +
                              " è protetto da password: salvalo senza password e riprova.");
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        unreadable("la parte " + name + " è compressa in un modo che non so leggere");
    }
    const std::uint64_t claimed = (stat.valid & ZIP_STAT_SIZE) != 0 ? stat.size : 0;
    return std::make_unique<ZipEntry>(*this, name, file, claimed);
}

} // namespace lists
