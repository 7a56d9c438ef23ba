#pragma once

#include "byte_buffer.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct zip;
struct zip_file;
struct z_stream_s;

namespace lists {

class ZipArchive;

// How an entry is stored, by the archive's central directory.
struct ZipEntryLayout {
    bool deflated = false;         // else stored as it is
    std::uint64_t claimedSize = 0; // 0 when unknown
    std::uint32_t crc = 0;
};

// One entry of a zip archive, inflated piece by piece as it is read: only the caller's buffer
// and a block of compressed bytes hold its bytes, whatever size its header claims. libzip
// hands over the compressed bytes and zlib inflates them straight into the caller's buffer:
// libzip's own inflating goes through small buffers and ran 15% slower.
class ZipEntry {
public:
    ZipEntry(const ZipArchive& archive, std::string name, zip_file* file, ZipEntryLayout layout);
    ~ZipEntry();
    ZipEntry(const ZipEntry&) = delete;
    ZipEntry& operator=(const ZipEntry&) = delete;

    // Fills `to` with up to `size` bytes, fewer only at the end; 0 at the end. A damaged entry
    // (a broken stream, a wrong checksum) is a ConversionError.
    std::size_t read(char* to, std::size_t size);

    // How far the reading has come, from 0 to 1, by the size the header claims. Safe to call
    // while another thread reads.
    double progress() const;
    const std::string& name() const { return name_; }
    // The archive's file, as messages name it.
    const std::string& archiveName() const;

private:
    std::size_t readCompressed(char* to, std::size_t size);
    std::size_t inflateSome(char* to, std::size_t size);
    [[noreturn]] void damaged() const;

    const ZipArchive& archive_;
    std::string name_;
    zip_file* file_;
    ZipEntryLayout layout_;
    std::unique_ptr<z_stream_s> stream_;
    ByteBuffer input_;
    bool inputEnded_ = false;
    bool ended_ = false;
    std::uint32_t crc_ = 0;
    std::atomic<std::uint64_t> read_ = 0;
};

// A workbook's zip package, read with libzip. Failures become ConversionErrors that name the
// file.
class ZipArchive {
public:
    ZipArchive(const std::filesystem::path& path, std::string fileName);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool has(std::string_view entry) const;
    // The entry, to read; a missing entry is a file that is not a workbook.
    std::unique_ptr<ZipEntry> open(std::string_view entry) const;

    const std::string& fileName() const { return fileName_; }
    [[noreturn]] void unreadable(const std::string& why) const;

private:
    std::string fileName_;
    zip* archive_ = nullptr;
};

} // namespace lists
