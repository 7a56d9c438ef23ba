#pragma once

#include "cell.h"
#include "xml_reader.h"
#include "zip_archive.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

namespace lists {

// What the .xlsx and .ods readers share: the zip package, its parts parsed as they are
// inflated, and how far the reading of the sheet has come.
class WorkbookReader : public TableReader {
public:
    // Asked from another thread than the reading one (RowsAhead).
    double progress() const override {
        const ZipEntry* sheet = reading_.load(std::memory_order_acquire);
        return sheet != nullptr ? sheet->progress() : 0;
    }

    // The sheet's name, for an output that is a workbook too.
    const std::string& sheetName() const { return sheetName_; }

protected:
    WorkbookReader(const std::filesystem::path& path, std::string fileName,
                   const std::atomic<bool>* cancelled)
        : archive_(path, std::move(fileName)), cancelled_(cancelled) {}

    void parse(const std::string& part, XmlHandler& handler) {
        const std::unique_ptr<ZipEntry> entry = archive_.open(part);
        XmlReader(*entry, cancelled_).parse(handler);
    }

    // Parses the sheet's part, whose reading is the progress.
    void parseSheet(const std::string& part, XmlHandler& handler) {
        sheet_ = archive_.open(part);
        reading_.store(sheet_.get(), std::memory_order_release);
        XmlReader(*sheet_, cancelled_).parse(handler);
    }

    ZipArchive archive_;
    const std::atomic<bool>* cancelled_;
    std::unique_ptr<ZipEntry> sheet_;
    std::atomic<const ZipEntry*> reading_ = nullptr; // sheet_, for progress()
    std::string sheetName_;
};

} // namespace lists
