#include "xlsx_writer.h"

#include "conversion_error.h"
#include "number_text.h"
#include "spreadsheet_limits.h"

#include <xlsxwriter.h>

#include <cerrno>

namespace lists {
namespace {

constexpr std::size_t kSheetNameLength = 31;

// Excel's sheet names: at most 31 characters, none of []:*?/\ and not empty.
std::string sheetNameFor(const std::string& wanted) {
    std::string name;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const auto c = static_cast<unsigned char>(wanted[i]);
        if ((c & 0xC0) != 0x80 && ++characters > kSheetNameLength) {
            break;
        }
        name += std::string_view("[]:*?/\\").find(static_cast<char>(c)) == std::string_view::npos
                    ? static_cast<char>(c)
                    : '_';
    }
    if (name.empty() || name.front() == '\'' || name.back() == '\'') {
        return "Foglio1";
    }
    return name;
}

// libxlsxwriter's own texts are English; the program speaks Italian.
std::string failure(int error) {
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return "memoria insufficiente";
    case LXW_ERROR_CREATING_XLSX_FILE:
        return "impossibile creare il file";
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return "impossibile usare i file temporanei";
    default:
        return "errore " + std::to_string(error) + " di libxlsxwriter";
    }
}

} // namespace

XlsxWriter::XlsxWriter(const std::filesystem::path& file, std::string fileName,
                       const std::string& sheetName)
    : fileName_(std::move(fileName)) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    // libxlsxwriter takes the name in UTF-8 and widens it on Windows; the narrow string() would
    // be in the ANSI code page there.
    const std::u8string name = file.u8string();
    workbook_ = workbook_new_opt(reinterpret_cast<const char*>(name.c_str()), &options);
    if (workbook_ == nullptr) {
        throw ConversionError("Impossibile preparare il file " + fileName_ + ".");
    }
    sheet_ = workbook_add_worksheet(workbook_, sheetNameFor(sheetName).c_str());
    textFormat_ = workbook_add_format(workbook_);
    format_set_num_format(textFormat_, "@");
    dateFormat_ = workbook_add_format(workbook_);
    format_set_num_format(dateFormat_, "dd/mm/yyyy");
    dateTimeFormat_ = workbook_add_format(workbook_);
    format_set_num_format(dateTimeFormat_, "dd/mm/yyyy hh:mm:ss");
    if (sheet_ == nullptr) {
        throw ConversionError("Impossibile preparare il file " + fileName_ + ".");
    }
}

XlsxWriter::~XlsxWriter() {
    if (workbook_ != nullptr) {
        // Never finished: nothing is assembled, only the memory is given back.
        lxw_workbook_free(workbook_);
    }
}

void XlsxWriter::check(int error, std::uint16_t column) {
    if (error == LXW_NO_ERROR) {
        return;
    }
    const std::string cell = cellName(column, row_ + 1);
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED) {
        throw ConversionError("La cella " + cell + " del file " + fileName_ + " supererebbe i " +
                              groupedDigits(kCellCharacters) +
                              " caratteri che un file .xlsx ammette: scegli un'uscita .csv.");
    }
    throw ConversionError("Impossibile scrivere la cella " + cell + " del file " + fileName_ +
                          ": " + failure(error) + ".");
}

void XlsxWriter::text(std::uint16_t column, std::string_view value, lxw_format* format) {
    if (value.empty()) {
        return;
    }
    scratch_.assign(value);
    check(worksheet_write_string(sheet_, row_, column, scratch_.c_str(), format), column);
}

void XlsxWriter::write(std::span<const Cell> cells, std::string_view, std::size_t width,
                       std::span<const std::string_view> added) {
    if (row_ >= kSheetRows) {
        throw ConversionError("Un file .xlsx contiene al massimo " + groupedDigits(kSheetRows) +
                              " righe e l'elenco ne ha di più: scegli un'uscita .csv per " +
                              fileName_ + ".");
    }
    const std::size_t first = std::max(cells.size(), width);
    if (first + added.size() > kSheetColumns) {
        throw ConversionError("La riga " + std::to_string(row_ + 1) + " di " + fileName_ +
                              " supererebbe le " + groupedDigits(kSheetColumns) +
                              " colonne che un file .xlsx ammette.");
    }
    if (!added.empty() && !textColumnsSet_) {
        textColumnsSet_ = true;
        // The added columns hold text, also when a user types into them later.
        worksheet_set_column(sheet_, static_cast<lxw_col_t>(first),
                             static_cast<lxw_col_t>(first + added.size() - 1), LXW_DEF_COL_WIDTH,
                             textFormat_);
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        const auto column = static_cast<std::uint16_t>(i);
        switch (cell.kind) {
        case Cell::Kind::Number:
            check(worksheet_write_number(sheet_, row_, column, cell.number, nullptr), column);
            break;
        case Cell::Kind::Date:
            check(worksheet_write_number(sheet_, row_, column, cell.number,
                                         cell.number == static_cast<std::uint32_t>(cell.number)
                                             ? dateFormat_
                                             : dateTimeFormat_),
                  column);
            break;
        case Cell::Kind::Boolean:
            check(worksheet_write_boolean(sheet_, row_, column, cell.number != 0, nullptr), column);
            break;
        case Cell::Kind::Text:
            text(column, cell.text, nullptr);
            break;
        }
    }
    for (std::size_t i = 0; i < added.size(); ++i) {
        text(static_cast<std::uint16_t>(first + i), added[i], textFormat_);
    }
    ++row_;
}

void XlsxWriter::finish() {
    lxw_workbook* workbook = workbook_;
    workbook_ = nullptr;
    errno = 0;
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR && errno == ENOSPC) {
        throw ConversionError("Il disco è pieno: impossibile scrivere il file " + fileName_ + ".");
    }
    if (error != LXW_NO_ERROR) {
        throw ConversionError("Impossibile scrivere il file " + fileName_ + ": " + failure(error) +
                              ".");
    }
}

} // namespace lists
