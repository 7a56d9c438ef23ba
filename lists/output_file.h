#pragma once

#include "interruptions.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace lists {

// What the output does with a file that already has its name.
enum class ExistingOutput {
    Refuse,   // a ConversionError that tells how to choose
    Replace,  // replaced, keeping its permissions and, where allowed, its owner; not if it is
              // read-only
    FreeName, // the output takes the first free name among NAME (2).ext, NAME (3).ext...
};

// The output. A file is written to a temporary file in its folder and put under its name only
// by commit(): a run that fails or is cancelled leaves nothing under that name, nor the
// temporary file. "-" (standard output) and an existing device or pipe (/dev/null, a FIFO) are
// written directly.
class OutputFile {
public:
    // `cancelled` breaks off the wait for a FIFO's reader when a signal comes.
    OutputFile(std::filesystem::path target, ExistingOutput existing,
               const std::atomic<bool>* cancelled = nullptr);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() const { return stream_; }

    // Whether the bytes go to a temporary file, which a new start may replace.
    bool temporary() const { return !temporary_.empty(); }

    // Makes the output complete under its name. An existing file is treated as the constructor
    // was told: it is never replaced unless so asked, also when it appeared meanwhile (two
    // conversions of one list at once).
    void commit();

    // The name the output has: after commit(), the free name it took.
    const std::filesystem::path& target() const { return target_; }
    const std::string& name() const { return name_; }

private:
    [[noreturn]] void failed(int cause) const;
    void open(const std::filesystem::path& path, const char* mode);
    bool placeAt(const std::filesystem::path& name);

    std::filesystem::path target_;
    std::filesystem::path temporary_; // empty when written directly
    std::string name_;
    ExistingOutput existing_;
    const std::atomic<bool>* cancelled_;
    std::FILE* stream_ = nullptr;
    std::optional<shell::interruptions::Leftover> leftover_;
    bool committed_ = false;
};

} // namespace lists
