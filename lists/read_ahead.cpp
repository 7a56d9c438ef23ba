#include "read_ahead.h"

#include "conversion_error.h"
#include "interruptions.h"
#include "utf8_blocks.h"
#include "zip_archive.h"

#include <algorithm>
#include <cstring>

namespace lists {
namespace {

// Enough for the thread to keep going while the parser works through a block.
constexpr int kBlocks = 4;

[[noreturn]] void notText(const ZipEntry& entry, std::uint64_t offset) {
    throw ConversionError("Il file " + entry.archiveName() +
                          " non è un foglio di calcolo leggibile (la parte " + entry.name() +
                          " non è testo UTF-8 al byte " + std::to_string(offset) + ").");
}

} // namespace

ReadAhead::ReadAhead(ZipEntry& entry) : entry_(entry), free_(kBlocks) {
    for (Block& block : free_) {
        block.bytes.resize(kKept + kBlock);
    }
    thread_ = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

// Text that is not UTF-8 would reach the output as it is; a NUL is no XML either.
void ReadAhead::checkUtf8(const Block& block) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.bytes.data() + kKept);
    std::size_t from = 0;
    if (cutSize_ > 0) {
        // The character cut at the previous block's end, with the bytes that complete it.
        unsigned char joined[8] = {};
        std::memcpy(joined, cut_, cutSize_);
        const std::size_t added = std::min<std::size_t>(4, block.size);
        std::memcpy(joined + cutSize_, bytes, added);
        const utf8::Check check = utf8::check(joined, cutSize_ + added);
        if (check.valid < cutSize_) {
            notText(entry_, checked_);
        }
        from = check.valid - cutSize_;
        checked_ += check.valid;
        cutSize_ = 0;
    }
    const utf8::Check check = utf8::check(bytes + from, block.size - from);
    checked_ += check.valid;
    if (check.status == utf8::Status::Truncated) {
        cutSize_ = block.size - from - check.valid;
        std::memcpy(cut_, bytes + from + check.valid, cutSize_);
    } else if (check.status != utf8::Status::Complete) {
        notText(entry_, checked_);
    }
}

void ReadAhead::run() {
    shell::interruptions::leaveToOtherThreads();
    try {
        for (;;) {
            Block block;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
                if (stopping_) {
                    return;
                }
                block = std::move(free_.back());
                free_.pop_back();
            }
            block.size = entry_.read(block.bytes.data() + kKept, kBlock);
            checkUtf8(block);
            const bool end = block.size == 0;
            {
                const std::lock_guard lock(mutex_);
                full_.push_back(std::move(block));
            }
            changed_.notify_all();
            if (end) {
                return;
            }
        }
    } catch (...) {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        changed_.notify_all();
    }
}

std::string_view ReadAhead::next(std::size_t kept) {
    const std::string_view tail = handed_.substr(handed_.size() - std::min(kept, handed_.size()));
    if (ended_) {
        return tail;
    }
    Block block;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !full_.empty() || failure_; });
        if (full_.empty()) {
            std::rethrow_exception(failure_);
        }
        block = std::move(full_.front());
        full_.pop_front();
    }
    if (block.size == 0) {
        ended_ = true;
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(block));
        changed_.notify_all();
        return tail;
    }
    char* const bytes = block.bytes.data() + kKept;
    if (tail.size() <= kKept) {
        std::copy(tail.begin(), tail.end(), bytes - tail.size());
        handed_ = std::string_view(bytes - tail.size(), tail.size() + block.size);
        std::vector<char>().swap(spill_);
    } else {
        // A long piece of markup: it grows in a buffer of its own.
        if (!spill_.empty() && tail.data() >= spill_.data() &&
            tail.data() < spill_.data() + spill_.size()) {
            std::memmove(spill_.data(), tail.data(), tail.size());
            spill_.resize(tail.size());
        } else {
            spill_.assign(tail.begin(), tail.end());
        }
        spill_.insert(spill_.end(), bytes, bytes + block.size);
        handed_ = std::string_view(spill_.data(), spill_.size());
    }
    Block done = std::move(current_);
    current_ = std::move(block);
    if (!done.bytes.empty()) {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(done));
        changed_.notify_all();
    }
    return handed_;
}

} // namespace lists
