#include "ods_reader.h"

#include "number_text.h"
#include "row_builder.h"
#include "spreadsheet_limits.h"
#include "zip_package.h"

#include <charconv>
#include <optional>

namespace lists {
namespace {

using orcus::sax::parser_attribute;
using orcus::sax::parser_element;

std::uint64_t count(std::string_view text, std::uint64_t limit) {
    std::uint64_t value = 1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) {
        return 1;
    }
    return std::min(value, limit);
}

// The names of the tables, in order, to choose one before reading it.
struct TableNames {
    std::vector<std::string> names;
    std::string name;

    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}
    void end_element(const parser_element&) {}
    void characters(std::string_view, bool) {}
    void attribute(const parser_attribute& a) {
        if (a.ns == "table" && a.name == "name") {
            name = a.value;
        }
    }
    void start_element(const parser_element& e) {
        if (e.ns == "table" && e.name == "table") {
            names.push_back(name);
        }
        name.clear();
    }
};

// The chosen table's rows. Blank rows are counted and handed over only when a row with text
// follows, so that the million empty rows LibreOffice declares at a sheet's end cost nothing;
// empty cells at a row's end are likewise never made.
struct TableRows {
    TableRows(int chosen, RowSink& sink, std::uint64_t* row, double* progress, std::size_t size)
        : chosen(chosen), sink(sink), row(row), progress(progress), size(size) {}

    int chosen;
    RowSink& sink;
    std::uint64_t* row;
    double* progress;
    std::size_t size;

    int table = -1;
    bool inTable = false;
    RowBuilder builder;
    std::uint64_t rowsDone = 0;
    std::uint64_t blankRows = 0;
    std::uint64_t rowRepeat = 1;
    std::size_t column = 0;
    bool inCell = false;
    std::uint64_t cellRepeat = 1;
    int paragraphs = 0;
    int inParagraph = 0;
    int annotation = 0;
    std::string text;

    // Attributes of the element about to start.
    std::string valueType, value, dateValue, booleanValue, stringValue, rowsRepeated,
        columnsRepeated, spaces;
    bool hasStringValue = false;

    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}

    void attribute(const parser_attribute& a) {
        if (a.ns == "office") {
            if (a.name == "value-type") {
                valueType = a.value;
            } else if (a.name == "value") {
                value = a.value;
            } else if (a.name == "date-value") {
                dateValue = a.value;
            } else if (a.name == "boolean-value") {
                booleanValue = a.value;
            } else if (a.name == "string-value") {
                stringValue = a.value;
                hasStringValue = true;
            }
        } else if (a.ns == "table") {
            if (a.name == "number-rows-repeated") {
                rowsRepeated = a.value;
            } else if (a.name == "number-columns-repeated") {
                columnsRepeated = a.value;
            }
        } else if (a.ns == "text" && a.name == "c") {
            spaces = a.value;
        }
    }

    void clearAttributes() {
        rowsRepeated.clear();
        columnsRepeated.clear();
        spaces.clear();
    }

    void start_element(const parser_element& e) {
        if (e.ns == "table" && e.name == "table") {
            ++table;
            inTable = table == chosen;
        } else if (!inTable) {
        } else if (e.ns == "table" && e.name == "table-row") {
            rowRepeat = count(rowsRepeated, kSheetRows);
            builder.clear();
            column = 0;
            *progress = size == 0 ? 1.0 : static_cast<double>(e.begin_pos) / size;
        } else if (e.ns == "table" && (e.name == "table-cell" || e.name == "covered-table-cell")) {
            inCell = true;
            cellRepeat = count(columnsRepeated, kSheetColumns);
            text.clear();
            paragraphs = 0;
            cellType = valueType;
            cellValue = value;
            cellDate = dateValue;
            cellBoolean = booleanValue;
            cellString = stringValue;
            cellHasString = hasStringValue;
        } else if (e.ns == "office" && e.name == "annotation") {
            ++annotation;
        } else if (inCell && annotation == 0 && e.ns == "text") {
            if (e.name == "p" || e.name == "h") {
                if (paragraphs++ > 0) {
                    text += '\n';
                }
                ++inParagraph;
            } else if (inParagraph > 0 && e.name == "s") {
                text.append(count(spaces, 1000), ' ');
            } else if (inParagraph > 0 && e.name == "tab") {
                text += '\t';
            } else if (inParagraph > 0 && e.name == "line-break") {
                text += '\n';
            }
        }
        valueType.clear();
        value.clear();
        dateValue.clear();
        booleanValue.clear();
        stringValue.clear();
        hasStringValue = false;
        clearAttributes();
    }

    void end_element(const parser_element& e) {
        if (!inTable) {
            return;
        }
        if (e.ns == "table" && e.name == "table") {
            inTable = false;
        } else if (e.ns == "table" && e.name == "table-row") {
            endRow();
        } else if (e.ns == "table" && (e.name == "table-cell" || e.name == "covered-table-cell")) {
            endCell();
            inCell = false;
        } else if (e.ns == "office" && e.name == "annotation") {
            --annotation;
        } else if (e.ns == "text" && (e.name == "p" || e.name == "h") && inParagraph > 0 &&
                   annotation == 0) {
            --inParagraph;
        }
    }

    void characters(std::string_view chars, bool) {
        if (inTable && inCell && inParagraph > 0 && annotation == 0) {
            text.append(chars);
        }
    }

    void endCell() {
        std::optional<Cell::Kind> kind;
        double number = 0;
        std::string shown;
        if (cellType == "float" || cellType == "percentage" || cellType == "currency") {
            const auto [end, error] =
                std::from_chars(cellValue.data(), cellValue.data() + cellValue.size(), number);
            if (error == std::errc() && end == cellValue.data() + cellValue.size()) {
                kind = Cell::Kind::Number;
                shown = numberText(number);
            }
        } else if (cellType == "date") {
            kind = Cell::Kind::Text;
            shown = cellDate.ends_with("T00:00:00") ? cellDate.substr(0, cellDate.size() - 9)
                                                    : cellDate;
            if (const std::size_t t = shown.find('T'); t != std::string::npos) {
                shown[t] = ' ';
            }
        } else if (cellType == "boolean") {
            kind = Cell::Kind::Boolean;
            number = cellBoolean == "true" ? 1 : 0;
            shown = number != 0 ? "VERO" : "FALSO";
        } else if (cellType == "string" && cellHasString) {
            kind = Cell::Kind::Text;
            shown = cellString;
        }
        if (!kind && !text.empty()) {
            kind = Cell::Kind::Text;
            shown = text;
        }
        if (!kind) {
            column += cellRepeat;
            return;
        }
        for (std::uint64_t i = 0; i < cellRepeat; ++i) {
            builder.add(column++, *kind, number, shown);
        }
    }

    void endRow() {
        if (builder.empty()) {
            blankRows = std::min(blankRows + rowRepeat, kSheetRows);
            return;
        }
        const Cell blank;
        for (; blankRows > 0 && rowsDone < kSheetRows; --blankRows) {
            *row = ++rowsDone;
            sink.row(std::span<const Cell>(&blank, 1), {});
        }
        blankRows = 0;
        const std::span<const Cell> cells = builder.cells();
        for (std::uint64_t i = 0; i < rowRepeat && rowsDone < kSheetRows; ++i) {
            *row = ++rowsDone;
            sink.row(cells, {});
        }
    }

    std::string cellType, cellValue, cellDate, cellBoolean, cellString;
    bool cellHasString = false;
};

} // namespace

OdsReader::OdsReader(const std::filesystem::path& path, std::string fileName, SheetChoice sheet)
    : WorkbookReader(path, std::move(fileName)), sheet_(std::move(sheet)) {}

void OdsReader::readAll(RowSink& sink) {
    const std::vector<unsigned char> xml = package_.read("content.xml");
    // The names are read in a pass of their own only when the choice needs them.
    int chosen = 0;
    if (!sheet_.first()) {
        TableNames names;
        package_.parse(xml, names);
        chosen = sheet_.pick(names.names);
        if (chosen < 0) {
            sheet_.missing(package_.fileName(), names.names);
        }
    }
    TableRows rows(chosen, sink, &row_, &progress_, xml.size());
    parseSheet(xml, rows);
    if (rows.table < 0) {
        sheet_.missing(package_.fileName(), {});
    }
}

std::vector<std::string> OdsReader::sheetNames() const {
    TableNames names;
    package_.parse(package_.read("content.xml"), names);
    return names.names;
}

} // namespace lists
