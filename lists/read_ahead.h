#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace lists {

class ZipEntry;

// Inflates a zip entry on a thread of its own, a few blocks ahead of the parser that reads
// them, and checks that it is UTF-8: inflating takes about as long as parsing, and a machine
// has two cores or more. Memory stays at those few blocks, however large the entry. The parser
// reads the blocks where they are: copying them cost as much as parsing them.
class ReadAhead {
public:
    static constexpr std::size_t kBlock = 256 * 1024;
    // Room before each block for the bytes that the parser keeps from the block before.
    static constexpr std::size_t kKept = 64 * 1024;

    explicit ReadAhead(ZipEntry& entry);
    // Stops the thread, at once if it waits, else after the block it is inflating.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The last `kept` bytes of what the previous call returned, followed by the entry's next
    // bytes; valid until the next call. No longer than `kept` at the entry's end. The
    // entry's errors, and bytes that are not UTF-8, are thrown here after the bytes before them.
    std::string_view next(std::size_t kept);

private:
    struct Block {
        std::vector<char> bytes; // kKept of room, then the entry's bytes
        std::size_t size = 0;
    };

    void run();
    void checkUtf8(const Block& block);

    ZipEntry& entry_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Block> free_;
    std::deque<Block> full_;
    std::exception_ptr failure_;
    bool stopping_ = false;

    // The inflating thread's own.
    std::uint64_t checked_ = 0; // bytes of the entry checked as UTF-8
    char cut_[4] = {};          // a character that the next block completes
    std::size_t cutSize_ = 0;

    // The parser's own.
    Block current_;
    std::vector<char> spill_; // what was kept, when more than kKept, and the block after it
    std::string_view handed_;
    bool ended_ = false;

    std::thread thread_;
};

} // namespace lists
