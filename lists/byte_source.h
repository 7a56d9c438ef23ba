#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace lists {

// The bytes of the input, read in large blocks: a file, or standard input ("-").
class ByteSource {
public:
    // `cancelled` breaks off a wait for input (a FIFO that nobody opens, a pipe that stays
    // silent) when a signal comes: ConversionCancelled.
    explicit ByteSource(const std::filesystem::path& path,
                        const std::atomic<bool>* cancelled = nullptr);
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
    const std::atomic<bool>* cancelled_ = nullptr;
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    std::optional<std::uint64_t> size_;
    std::uint64_t bytesRead_ = 0;
    std::string name_;
};

} // namespace lists
