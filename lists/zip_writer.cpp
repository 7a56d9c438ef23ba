#include "zip_writer.h"

#include "write_failure.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>

namespace lists {
namespace {

constexpr std::size_t kOutBlock = 256 * 1024;
constexpr std::uint32_t kMax32 = 0xFFFFFFFF;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kDescriptorFollows = 1 << 3;
constexpr std::uint16_t kUtf8Names = 1 << 11;
// 1 January 1980, the earliest date a zip entry can carry: no clock reading makes the output
// differ from one run to the next.
constexpr std::uint16_t kDate = (0 << 9) | (1 << 5) | 1;

// Little-endian fields, appended to a header.
struct Header {
    std::string bytes;
    void u16(std::uint64_t value) {
        for (int i = 0; i < 2; ++i) {
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
        }
    }
    void u32(std::uint64_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
        }
    }
    void u64(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
        }
    }
};

} // namespace

ZipWriter::ZipWriter(std::FILE* file, std::string fileName)
    : file_(file), fileName_(std::move(fileName)), stream_(std::make_unique<z_stream_s>()),
      out_(kOutBlock) {
    // Level 1: a sheet's XML is very repetitive, and the fastest level already shrinks it
    // about ten times; the higher ones cost several times the time for a few per cent.
    if (deflateInit2(stream_.get(), Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::bad_alloc();
    }
}

ZipWriter::~ZipWriter() {
    deflateEnd(stream_.get());
}

void ZipWriter::flushOut() {
    if (used_ > 0 && std::fwrite(out_.data(), 1, used_, file_) != used_) {
        writeFailed(fileName_, errno);
    }
    offset_ += used_;
    used_ = 0;
}

void ZipWriter::put(const void* bytes, std::size_t size) {
    if (used_ + size > out_.size()) {
        flushOut();
    }
    if (size > out_.size()) {
        if (std::fwrite(bytes, 1, size, file_) != size) {
            writeFailed(fileName_, errno);
        }
        offset_ += size;
        return;
    }
    std::memcpy(out_.data() + used_, bytes, size);
    used_ += size;
}

void ZipWriter::begin(std::string_view name) {
    current_ = Entry{std::string(name), 0, 0, 0, offset_ + used_};
    Header local;
    local.u32(0x04034b50);
    local.u16(20); // version needed: 2.0, deflate
    local.u16(kDescriptorFollows | kUtf8Names);
    local.u16(kDeflated);
    local.u16(0); // time
    local.u16(kDate);
    local.u32(0); // crc, sizes: in the descriptor
    local.u32(0);
    local.u32(0);
    local.u16(name.size());
    local.u16(0);
    local.bytes += name;
    put(local.bytes.data(), local.bytes.size());
    deflateReset(stream_.get());
}

void ZipWriter::deflateSome(int flush) {
    for (;;) {
        if (used_ == out_.size()) {
            flushOut();
        }
        stream_->next_out = out_.data() + used_;
        stream_->avail_out = static_cast<uInt>(out_.size() - used_);
        const int status = deflate(stream_.get(), flush);
        const std::size_t produced = out_.size() - used_ - stream_->avail_out;
        used_ += produced;
        current_.compressed += produced;
        if (status == Z_STREAM_END || (stream_->avail_in == 0 && stream_->avail_out != 0)) {
            return;
        }
    }
}

void ZipWriter::write(std::string_view bytes) {
    current_.crc = static_cast<std::uint32_t>(
        crc32_z(current_.crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
    current_.size += bytes.size();
    stream_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream_->avail_in = static_cast<uInt>(bytes.size());
    deflateSome(Z_NO_FLUSH);
}

void ZipWriter::end() {
    stream_->avail_in = 0;
    deflateSome(Z_FINISH);
    Header descriptor;
    descriptor.u32(0x08074b50);
    descriptor.u32(current_.crc);
    if (current_.compressed >= kMax32 || current_.size >= kMax32) {
        descriptor.u64(current_.compressed);
        descriptor.u64(current_.size);
    } else {
        descriptor.u32(current_.compressed);
        descriptor.u32(current_.size);
    }
    put(descriptor.bytes.data(), descriptor.bytes.size());
    entries_.push_back(std::move(current_));
}

void ZipWriter::add(std::string_view name, std::string_view bytes) {
    begin(name);
    write(bytes);
    end();
}

void ZipWriter::finish() {
    const std::uint64_t directoryStart = offset_ + used_;
    for (const Entry& entry : entries_) {
        Header extra;
        const bool bigSize = entry.size >= kMax32 || entry.compressed >= kMax32;
        const bool bigOffset = entry.offset >= kMax32;
        if (bigSize) {
            extra.u64(entry.size);
            extra.u64(entry.compressed);
        }
        if (bigOffset) {
            extra.u64(entry.offset);
        }
        Header central;
        central.u32(0x02014b50);
        central.u16(45);                             // made by: 4.5
        central.u16(bigSize || bigOffset ? 45 : 20); // version needed
        central.u16(kDescriptorFollows | kUtf8Names);
        central.u16(kDeflated);
        central.u16(0);
        central.u16(kDate);
        central.u32(entry.crc);
        central.u32(bigSize ? kMax32 : entry.compressed);
        central.u32(bigSize ? kMax32 : entry.size);
        central.u16(entry.name.size());
        central.u16(extra.bytes.empty() ? 0 : extra.bytes.size() + 4);
        central.u16(0); // comment
        central.u16(0); // disk
        central.u16(0); // internal attributes
        central.u32(0); // external attributes
        central.u32(bigOffset ? kMax32 : entry.offset);
        central.bytes += entry.name;
        if (!extra.bytes.empty()) {
            central.u16(0x0001);
            central.u16(extra.bytes.size());
            central.bytes += extra.bytes;
        }
        put(central.bytes.data(), central.bytes.size());
    }
    const std::uint64_t directoryEnd = offset_ + used_;
    const std::uint64_t directorySize = directoryEnd - directoryStart;
    const bool zip64 =
        directoryStart >= kMax32 || directorySize >= kMax32 || entries_.size() >= 0xFFFF;
    Header end;
    if (zip64) {
        end.u32(0x06064b50);
        end.u64(44);
        end.u16(45);
        end.u16(45);
        end.u32(0);
        end.u32(0);
        end.u64(entries_.size());
        end.u64(entries_.size());
        end.u64(directorySize);
        end.u64(directoryStart);
        end.u32(0x07064b50); // the locator of the record above
        end.u32(0);
        end.u64(directoryEnd);
        end.u32(1);
    }
    end.u32(0x06054b50);
    end.u16(0);
    end.u16(0);
    end.u16(zip64 ? 0xFFFF : entries_.size());
    end.u16(zip64 ? 0xFFFF : entries_.size());
    end.u32(zip64 ? kMax32 : directorySize);
    end.u32(zip64 ? kMax32 : directoryStart);
    end.u16(0);
    put(end.bytes.data(), end.bytes.size());
    flushOut();
}

} // namespace lists
