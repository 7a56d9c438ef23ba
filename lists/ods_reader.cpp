#include "ods_reader.h"

#include "conversion_error.h"
#include "number_text.h"
#include "row_builder.h"
#include "spreadsheet_dates.h"
#include "spreadsheet_limits.h"

#include <charconv>
#include <optional>

namespace lists {
namespace {

constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kCalcExtension =
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";
constexpr char kContent[] = "content.xml";
constexpr char kManifest[] = "META-INF/manifest.xml";

// A repeat count: 1 when absent or not a number.
std::uint64_t count(std::optional<std::string_view> text) {
    if (!text) {
        return 1;
    }
    std::uint64_t value = 1;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || value == 0) {
        return 1;
    }
    return value;
}

std::string valueOf(std::optional<std::string_view> value) {
    return std::string(value.value_or(std::string_view()));
}

// An encrypted package says so in its manifest; its parts are no XML.
struct Manifest : XmlHandler {
    bool encrypted = false;
    void start(const XmlName& name, const XmlAttributes&) override {
        encrypted = encrypted || name.local == "encryption-data";
    }
    void end(const XmlName&) override {}
    void text(std::string_view) override {}
    bool done() const override { return encrypted; }
};

// The names of the tables, in order, up to the one wanted.
struct TableNames : XmlHandler {
    explicit TableNames(const SheetChoice& sheet) : sheet(sheet) {}

    const SheetChoice& sheet;
    std::vector<std::string> names;
    bool found = false;

    void start(const XmlName& name, const XmlAttributes& a) override {
        if (!found && name.is(kTable, "table")) {
            names.push_back(valueOf(a.find(kTable, "name")));
            found = sheet.first() || sheet.named(names.back());
        }
    }
    void end(const XmlName&) override {}
    void text(std::string_view) override {}
    bool done() const override { return found; }
};

// The names of all the tables, in order.
struct AllTableNames : XmlHandler {
    std::vector<std::string> names;

    void start(const XmlName& name, const XmlAttributes& a) override {
        if (name.is(kTable, "table")) {
            names.push_back(valueOf(a.find(kTable, "name")));
        }
    }
    void end(const XmlName&) override {}
    void text(std::string_view) override {}
};

// The chosen table's rows. Blank rows are counted and handed over only when a row with text
// follows, so that the million empty rows LibreOffice declares at a sheet's end cost nothing;
// empty cells at a row's end are likewise never made.
struct TableRows : XmlHandler {
    TableRows(int chosen, const ZipArchive& archive, RowSink& sink)
        : chosen(chosen), archive(archive), sink(sink) {}

    int chosen;
    const ZipArchive& archive;
    RowSink& sink;
    XmlSpace office{kOffice}, tables{kTable}, texts{kText}, calcExtension{kCalcExtension};

    int table = -1;
    bool inTable = false;
    RowBuilder builder;
    std::uint64_t rowsDone = 0;
    std::uint64_t blankRows = 0;
    std::uint64_t rowRepeat = 1;
    std::uint64_t column = 0;
    std::uint64_t firstFilled = 0; // the row's first column with something, to name it
    bool inCell = false;
    std::uint64_t cellRepeat = 1;
    int paragraphs = 0;
    int inParagraph = 0;
    int annotation = 0;
    std::string shownText; // the cell's paragraphs
    // The cell's value, by its office:value-type: Other for none or one without a value read.
    enum class Type { Number, Date, Boolean, Text, Other } cellType = Type::Other;
    std::string cellValue, cellDate, cellString;
    bool cellTrue = false;
    bool cellError = false;
    std::string scratch; // a value's text as the cell shows it

    std::string where() const override { return ", dopo la riga " + std::to_string(rowsDone); }
    bool repeatsTags() const override { return true; }

    // The row the next one handed over will be, from 1.
    std::uint64_t nextRow() const { return rowsDone + blankRows + 1; }

    static Type typeOf(std::string_view text) {
        if (text == "float" || text == "percentage" || text == "currency") {
            return Type::Number;
        }
        if (text == "string") {
            return Type::Text;
        }
        if (text == "date") {
            return Type::Date;
        }
        return text == "boolean" ? Type::Boolean : Type::Other;
    }

    void start(const XmlName& name, const XmlAttributes& a) override {
        // By namespace first: most elements are the table's, and a namespace is matched by
        // where its bytes lie.
        if (tables.is(name.space)) {
            startTable(name.local, a);
        } else if (!inTable) {
        } else if (texts.is(name.space)) {
            if (inCell && annotation == 0) {
                startText(name.local, a);
            }
        } else if (office.is(name.space) && name.local == "annotation") {
            ++annotation;
        }
    }

    void startTable(std::string_view local, const XmlAttributes& a) {
        if (local == "table") {
            ++table;
            inTable = table == chosen;
        } else if (!inTable) {
        } else if (local == "table-row") {
            rowRepeat = count(a.find(kTable, "number-rows-repeated"));
            builder.clear();
            column = 0;
        } else if (local == "table-cell" || local == "covered-table-cell") {
            startCell(a);
        }
    }

    void startCell(const XmlAttributes& a) {
        inCell = true;
        shownText.clear();
        paragraphs = 0;
        std::optional<std::string_view> repeat;
        cellType = Type::Other;
        cellValue.clear();
        cellDate.clear();
        cellString.clear();
        cellTrue = false;
        cellError = false;
        a.each([&](const XmlName& attribute, std::string_view value) {
            if (office.is(attribute.space)) {
                if (attribute.local == "value-type") {
                    cellType = typeOf(value);
                } else if (attribute.local == "value") {
                    cellValue = value;
                } else if (attribute.local == "date-value") {
                    cellDate = value;
                } else if (attribute.local == "boolean-value") {
                    cellTrue = value == "true";
                } else if (attribute.local == "string-value") {
                    cellString = value;
                }
            } else if (tables.is(attribute.space)) {
                if (attribute.local == "number-columns-repeated") {
                    repeat = value;
                }
            } else if (calcExtension.is(attribute.space) && attribute.local == "value-type") {
                cellError = value == "error";
            }
        });
        cellRepeat = count(repeat);
    }

    void startText(std::string_view local, const XmlAttributes& a) {
        if (local == "p" || local == "h") {
            if (paragraphs++ > 0) {
                append("\n");
            }
            ++inParagraph;
        } else if (inParagraph == 0) {
        } else if (local == "s") {
            const std::uint64_t spaces = count(a.find(kText, "c"));
            if (spaces > kRowBytes) {
                tooLong();
            }
            append(std::string(spaces, ' '));
        } else if (local == "tab") {
            append("\t");
        } else if (local == "line-break") {
            append("\n");
        }
    }

    void end(const XmlName& name) override {
        if (!inTable) {
            return;
        }
        if (tables.is(name.space)) {
            if (name.local == "table") {
                inTable = false;
            } else if (name.local == "table-row") {
                endRow();
            } else if (name.local == "table-cell" || name.local == "covered-table-cell") {
                endCell();
                inCell = false;
            }
        } else if (texts.is(name.space)) {
            if ((name.local == "p" || name.local == "h") && inParagraph > 0 && annotation == 0) {
                --inParagraph;
            }
        } else if (office.is(name.space) && name.local == "annotation") {
            --annotation;
        }
    }

    void text(std::string_view chars) override {
        if (inTable && inCell && inParagraph > 0 && annotation == 0) {
            append(chars);
        }
    }

    [[noreturn]] void tooLong() const {
        archive.unreadable("la cella " + cellName(column, nextRow()) + " supera i 16 MB");
    }

    void append(std::string_view chars) {
        if (shownText.size() + chars.size() > kRowBytes) {
            tooLong();
        }
        shownText.append(chars);
    }

    void endCell() {
        std::optional<Cell::Kind> kind;
        double number = 0;
        std::string_view shown;
        if (cellError) {
            // The error's text, "#DIV/0!", is the paragraph; the value is a placeholder.
        } else if (cellType == Type::Number) {
            if (const auto plain = plainNumber(cellValue)) {
                kind = Cell::Kind::Number;
                number = *plain;
                shown = cellValue;
            } else {
                const auto [end, error] =
                    std::from_chars(cellValue.data(), cellValue.data() + cellValue.size(), number);
                if (error == std::errc() && end == cellValue.data() + cellValue.size()) {
                    kind = Cell::Kind::Number;
                    scratch = numberText(number);
                    shown = scratch;
                }
            }
        } else if (cellType == Type::Date) {
            if (const auto serial = dates::serialOf(cellDate)) {
                kind = Cell::Kind::Date;
                number = *serial;
                scratch = dates::text(*serial);
                shown = scratch;
            }
        } else if (cellType == Type::Boolean) {
            kind = Cell::Kind::Boolean;
            number = cellTrue ? 1 : 0;
            shown = cellTrue ? "VERO" : "FALSO";
        } else if (cellType == Type::Text && !cellString.empty()) {
            kind = Cell::Kind::Text;
            shown = cellString;
        }
        if (!kind && !shownText.empty()) {
            kind = Cell::Kind::Text;
            shown = shownText;
        }
        if (!kind || shown.empty()) {
            // An empty cell, repeated or not, is only a gap before the next one.
            column += std::min(cellRepeat, kSheetColumns);
            return;
        }
        if (column + cellRepeat > kSheetColumns) {
            archive.unreadable("la cella " + cellName(column, nextRow()) + " si ripete oltre le " +
                               groupedDigits(kSheetColumns) + " colonne di un foglio");
        }
        if (builder.empty()) {
            firstFilled = column;
        }
        for (std::uint64_t i = 0; i < cellRepeat; ++i) {
            builder.add(column++, *kind, number, shown);
            if (builder.bytes() > kRowBytes) {
                archive.unreadable("la riga " + std::to_string(nextRow()) + " supera i 16 MB");
            }
        }
    }

    void endRow() {
        if (builder.empty()) {
            blankRows = std::min(blankRows + rowRepeat, kSheetRows);
            return;
        }
        if (rowsDone + blankRows + rowRepeat > kSheetRows) {
            archive.unreadable("la cella " + cellName(firstFilled, nextRow()) +
                               (rowRepeat > 1 ? " si ripete" : " sta") + " oltre le " +
                               groupedDigits(kSheetRows) + " righe di un foglio");
        }
        const Cell blank;
        for (; blankRows > 0; --blankRows) {
            ++rowsDone;
            sink.row(std::span<const Cell>(&blank, 1), {});
        }
        const std::span<const Cell> cells = builder.cells();
        for (std::uint64_t i = 0; i < rowRepeat; ++i) {
            ++rowsDone;
            sink.row(cells, {});
        }
    }
};

} // namespace

OdsReader::OdsReader(const std::filesystem::path& path, std::string fileName,
                     const SheetChoice& sheet, const std::atomic<bool>* cancelled)
    : WorkbookReader(path, fileName, cancelled) {
    if (archive_.has(kManifest)) {
        Manifest manifest;
        parse(kManifest, manifest);
        if (manifest.encrypted) {
            throw ConversionError("Il file " + fileName +
                                  " è protetto da password: salvalo senza password e riprova.");
        }
    }
    TableNames names(sheet);
    parse(kContent, names);
    chosen_ = names.found ? static_cast<int>(names.names.size()) - 1 : sheet.pick(names.names);
    if (chosen_ < 0) {
        sheet.missing(fileName, names.names);
    }
    sheetName_ = names.names[chosen_];
}

void OdsReader::readAll(RowSink& sink) {
    TableRows rows(chosen_, archive_, sink);
    parseSheet(kContent, rows);
}

std::vector<std::string> OdsReader::sheetNames() const {
    AllTableNames names;
    XmlReader(*archive_.open(kContent), cancelled_).parse(names);
    return names.names;
}

} // namespace lists
