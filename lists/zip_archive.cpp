#include "zip_archive.h"

#include "conversion_error.h"
#include "file_stream.h"
#include "system_reason.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace lists {

namespace {

constexpr std::size_t kInputBlock = 256 * 1024;

} // namespace

ZipEntry::ZipEntry(const ZipArchive& archive, std::string name, zip_file* file,
                   ZipEntryLayout layout)
    : archive_(archive), name_(std::move(name)), file_(file), layout_(layout),
      input_(layout.deflated ? kInputBlock : 0) {
    if (layout_.deflated) {
        stream_ = std::make_unique<z_stream_s>();
        // Raw deflate: the zip entry has no zlib header.
        if (inflateInit2(stream_.get(), -MAX_WBITS) != Z_OK) {
            zip_fclose(file_);
            throw std::bad_alloc();
        }
    }
}

ZipEntry::~ZipEntry() {
    if (stream_ != nullptr) {
        inflateEnd(stream_.get());
    }
    zip_fclose(file_);
}

void ZipEntry::damaged() const {
    archive_.unreadable("la parte " + name_ + " è danneggiata");
}

std::size_t ZipEntry::readCompressed(char* to, std::size_t size) {
    const zip_int64_t got = zip_fread(file_, to, size);
    if (got < 0) {
        damaged();
    }
    return static_cast<std::size_t>(got);
}

std::size_t ZipEntry::inflateSome(char* to, std::size_t size) {
    z_stream_s& stream = *stream_;
    stream.next_out = reinterpret_cast<Bytef*>(to);
    stream.avail_out = static_cast<uInt>(size);
    while (stream.avail_out > 0 && !ended_) {
        if (stream.avail_in == 0 && !inputEnded_) {
            stream.next_in = reinterpret_cast<Bytef*>(input_.data());
            stream.avail_in = static_cast<uInt>(readCompressed(input_.data(), input_.size()));
            inputEnded_ = stream.avail_in == 0;
        }
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            ended_ = true;
        } else if (status != Z_OK && !(status == Z_BUF_ERROR && !inputEnded_)) {
            damaged(); // a broken stream, or one cut short
        }
    }
    return size - stream.avail_out;
}

std::size_t ZipEntry::read(char* to, std::size_t size) {
    std::size_t got = 0;
    if (layout_.deflated) {
        got = inflateSome(to, size);
    } else {
        while (got < size && !ended_) {
            const std::size_t some = readCompressed(to + got, size - got);
            ended_ = some == 0;
            got += some;
        }
    }
    crc_ = static_cast<std::uint32_t>(crc32_z(crc_, reinterpret_cast<const Bytef*>(to), got));
    read_.store(read_.load(std::memory_order_relaxed) + got, std::memory_order_relaxed);
    if (got < size && crc_ != layout_.crc) {
        damaged();
    }
    return got;
}

const std::string& ZipEntry::archiveName() const {
    return archive_.fileName();
}

double ZipEntry::progress() const {
    const std::uint64_t claimed = layout_.claimedSize;
    return claimed == 0 ? 1.0
                        : std::min(1.0, static_cast<double>(read_.load(std::memory_order_relaxed)) /
                                            static_cast<double>(claimed));
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
    const bool known = (stat.valid & ZIP_STAT_COMP_METHOD) != 0 &&
                       (stat.comp_method == ZIP_CM_DEFLATE || stat.comp_method == ZIP_CM_STORE);
    if (!known || (stat.valid & ZIP_STAT_CRC) == 0) {
        unreadable("la parte " + name + " è compressa in un modo che non so leggere");
    }
    zip_file_t* file =
        zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_COMPRESSED);
    if (file == nullptr) {
        unreadable("la parte " + name + " è danneggiata");
    }
    ZipEntryLayout layout;
    layout.deflated = stat.comp_method == ZIP_CM_DEFLATE;
    layout.claimedSize = (stat.valid & ZIP_STAT_SIZE) != 0 ? stat.size : 0;
    layout.crc = stat.crc;
    return std::make_unique<ZipEntry>(*this, name, file, layout);
}

} // namespace lists
