#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace lists {

// The output. A file is written to a temporary file in its folder and moved under its name
// only by commit(): a run that fails or is cancelled leaves nothing under that name. "-"
// (standard output) and an existing device or pipe (/dev/null, a FIFO) are written directly.
class OutputFile {
public:
    // Refuses (ConversionError) a file that exists unless `overwrite`.
    OutputFile(std::filesystem::path target, bool overwrite);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() const { return stream_; }

    // Closes the stream, for a writer that opens writtenPath() itself.
    void closeStream();
    // The file the bytes go to: the temporary file, or the device itself.
    const std::filesystem::path& writtenPath() const;
    // Whether the bytes go to a temporary file, which a new start may replace.
    bool temporary() const { return !temporary_.empty(); }

    // Makes the output complete under its name. Without `overwrite`, a file that appeared
    // there meanwhile is not replaced.
    void commit();

    const std::string& name() const { return name_; }

private:
    [[noreturn]] void failed(int cause) const;

    std::filesystem::path target_;
    std::filesystem::path temporary_; // empty when written directly
    std::string name_;
    bool overwrite_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};

} // namespace lists
