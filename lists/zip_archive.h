#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct zip;
struct zip_file;

namespace lists {

class ZipArchive;

// One entry of a zip archive, inflated piece by piece as it is read: only the caller's buffer
// holds its bytes, whatever size its header claims.
class ZipEntry {
public:
    ZipEntry(const ZipArchive& archive, std::string name, zip_file* file,
             std::uint64_t claimedSize);
    ~ZipEntry();
    ZipEntry(const ZipEntry&) = delete;
    ZipEntry& operator=(const ZipEntry&) = delete;

    // Up to `size` bytes; 0 at the end. A damaged entry is a ConversionError.
    std::size_t read(char* to, std::size_t size);

    // How far the reading has come, from 0 to 1, by the size the header claims.
    double progress() const;
    const std::string& name() const { return name_; }
    // The archive's file, as messages name it.
    const std::string& archiveName() const;

private:
    const ZipArchive& archive_;
    std::string name_;
    zip_file* file_;
    std::uint64_t claimedSize_;
    std::uint64_t read_ = 0;
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
