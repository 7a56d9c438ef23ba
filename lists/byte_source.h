#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace lists {

// The bytes of the input, read in large blocks: a file, or standard input ("-").
class ByteSource {
public:
    explicit ByteSource(const std::filesystem::path& path);
    // An open stream (a pipe, a memory stream), read but not closed.
    ByteSource(std::FILE* stream, std::string name);
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // Up to `size` bytes into `to`, as many as are there but at least one; 0 only at the end.
    // Throws ConversionError on a read error.
    std::size_t read(char* to, std::size_t size);

    // The input's size in bytes when known, for the progress.
    std::optional<std::uint64_t> size() const { return size_; }
    std::uint64_t bytesRead() const { return bytesRead_; }

    // How the file is named in messages.
    const std::string& name() const { return name_; }

private:
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    std::optional<std::uint64_t> size_;
    std::uint64_t bytesRead_ = 0;
    std::string name_;
};

} // namespace lists
