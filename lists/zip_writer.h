#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct z_stream_s;

namespace lists {

// Writes a zip archive front to back on a stream, each entry deflated with zlib as its bytes
// come: nothing is held but the compressor's window, and nothing is written twice. Sizes go
// in a data descriptor after each entry and in the central directory, with the zip64
// extensions when an entry or the archive passes 4 GB.
class ZipWriter {
public:
    // `fileName` names the output in messages.
    ZipWriter(std::FILE* file, std::string fileName);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Starts an entry; the previous one must have ended.
    void begin(std::string_view name);
    void write(std::string_view bytes);
    void end();
    // A whole small entry at once.
    void add(std::string_view name, std::string_view bytes);
    // Writes the central directory; the archive is then complete.
    void finish();

private:
    struct Entry {
        std::string name;
        std::uint32_t crc;
        std::uint64_t compressed;
        std::uint64_t size;
        std::uint64_t offset;
    };

    void deflateSome(int flush);
    void put(const void* bytes, std::size_t size);
    void flushOut();

    std::FILE* file_;
    std::string fileName_;
    std::unique_ptr<z_stream_s> stream_;
    std::vector<Entry> entries_;
    Entry current_{};
    std::uint64_t offset_ = 0; // bytes of the archive so far
    std::vector<unsigned char> out_;
    std::size_t used_ = 0;
};

} // namespace lists
