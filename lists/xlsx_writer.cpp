#include "xlsx_writer.h"

#include "conversion_error.h"
#include "number_text.h"
#include "spreadsheet_limits.h"

#include <charconv>
#include <cmath>

namespace lists {
namespace {

constexpr std::size_t kXmlBlock = 256 * 1024;
constexpr std::size_t kSheetNameLength = 31;
constexpr char kSheetPart[] = "xl/worksheets/sheet1.xml";

// The styles of cellXfs below, by index.
constexpr char kTextStyle[] = "1";
constexpr char kDateStyle[] = "2";
constexpr char kDateTimeStyle[] = "3";
constexpr char kTimeStyle[] = "4";

constexpr char kContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";

constexpr char kRootRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";

constexpr char kWorkbookRelationships[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// Cell styles: 0 general, 1 text (the added columns), 2 date, 3 date and time, 4 time.
constexpr char kStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<numFmts count="3"><numFmt numFmtId="164" formatCode="dd/mm/yyyy"/>)"
    R"(<numFmt numFmtId="165" formatCode="dd/mm/yyyy hh:mm:ss"/>)"
    R"(<numFmt numFmtId="166" formatCode="hh:mm:ss"/></numFmts>)"
    R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
    R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="5"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="49" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="165" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="166" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(</cellXfs><cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/>)"
    R"(</cellStyles></styleSheet>)";

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

// Text as XML holds it. Characters XML 1.0 cannot hold (controls, and a carriage return, which
// a parser would turn into a line feed) and text that reads as such an escape are written as
// Office does, "_xHHHH_".
void appendEscaped(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '_':
            if (i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
                out += "_x005F_";
                continue;
            }
            break;
        default:
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\n') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "_x00";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
            out += '_';
            continue;
        }
        out += c;
    }
}

void appendColumn(std::string& out, std::size_t column) {
    char letters[4];
    int n = 0;
    for (std::size_t c = column + 1; c > 0; c = (c - 1) / 26) {
        letters[n++] = static_cast<char>('A' + (c - 1) % 26);
    }
    while (n > 0) {
        out += letters[--n];
    }
}

// UTF-8 characters in `text`: the bytes that do not continue a character.
std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return count;
}

} // namespace

XlsxWriter::XlsxWriter(std::FILE* file, std::string fileName, const std::string& sheetName)
    : zip_(file, fileName), fileName_(std::move(fileName)) {
    xml_.reserve(kXmlBlock + 64 * 1024);
    std::string workbook =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<sheets><sheet name=")";
    appendEscaped(workbook, sheetNameFor(sheetName));
    workbook += R"(" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    zip_.add("[Content_Types].xml", kContentTypes);
    zip_.add("_rels/.rels", kRootRelationships);
    zip_.add("xl/workbook.xml", workbook);
    zip_.add("xl/_rels/workbook.xml.rels", kWorkbookRelationships);
    zip_.add("xl/styles.xml", kStyles);
}

void XlsxWriter::layout(std::size_t width, std::size_t added) {
    textColumn_ = width;
    textColumns_ = added;
}

// The sheet's start, with the added columns formatted as text also where a user types later.
void XlsxWriter::startSheet() {
    sheetStarted_ = true;
    zip_.begin(kSheetPart);
    xml_ += R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
            R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    if (textColumns_ > 0 && textColumn_ + textColumns_ <= kSheetColumns) {
        xml_ += R"(<cols><col min=")";
        xml_ += std::to_string(textColumn_ + 1);
        xml_ += R"(" max=")";
        xml_ += std::to_string(textColumn_ + textColumns_);
        xml_ += R"(" width="9.140625" style=")";
        xml_ += kTextStyle;
        xml_ += R"("/></cols>)";
    }
    xml_ += "<sheetData>";
}

void XlsxWriter::flushXml() {
    zip_.write(xml_);
    xml_.clear();
}

// A cell's start: its reference only where it does not follow the previous cell.
void XlsxWriter::openCell(std::size_t column, const char* style) {
    xml_ += "<c";
    if (column != nextColumn_) {
        xml_ += " r=\"";
        appendColumn(xml_, column);
        xml_ += std::to_string(row_ + 1);
        xml_ += '"';
    }
    if (style != nullptr) {
        xml_ += " s=\"";
        xml_ += style;
        xml_ += '"';
    }
    nextColumn_ = column + 1;
}

void XlsxWriter::value(std::size_t column, std::string_view value, const char* type,
                       const char* style) {
    openCell(column, style);
    if (type != nullptr) {
        xml_ += " t=\"";
        xml_ += type;
        xml_ += '"';
    }
    xml_ += "><v>";
    xml_ += value;
    xml_ += "</v></c>";
}

void XlsxWriter::text(std::size_t column, std::string_view value, const char* style) {
    if (value.empty()) {
        return;
    }
    if (value.size() > kCellCharacters && characters(value) > kCellCharacters) {
        throw ConversionError("La cella " + cellName(column, row_ + 1) + " del file " + fileName_ +
                              " supererebbe i " + groupedDigits(kCellCharacters) +
                              " caratteri che un file .xlsx ammette: scegli un'uscita .csv.");
    }
    openCell(column, style);
    const bool spaced = value.front() == ' ' || value.back() == ' ' || value.front() == '\n' ||
                        value.back() == '\n' || value.front() == '\t' || value.back() == '\t';
    xml_ += spaced ? R"( t="inlineStr"><is><t xml:space="preserve">)" : R"( t="inlineStr"><is><t>)";
    appendEscaped(xml_, value);
    xml_ += "</t></is></c>";
}

void XlsxWriter::write(std::span<const Cell> cells, std::string_view, std::size_t width,
                       std::span<const std::string_view> added) {
    if (row_ >= kSheetRows) {
        throw ConversionError("Un file .xlsx contiene al massimo " + groupedDigits(kSheetRows) +
                              " righe e l'elenco ne ha di più: scegli un'uscita .csv per " +
                              fileName_ + ".");
    }
    // The cells before the added ones: all of them, unless the row is wider than `width`; the
    // rest follow the added ones.
    const std::size_t own = added.empty() ? cells.size() : std::min(cells.size(), width);
    const std::size_t first = std::max(own, width);
    if (std::max(cells.size(), first) + added.size() > kSheetColumns) {
        throw ConversionError("La riga " + std::to_string(row_ + 1) + " di " + fileName_ +
                              " supererebbe le " + groupedDigits(kSheetColumns) +
                              " colonne che un file .xlsx ammette.");
    }
    if (!sheetStarted_) {
        startSheet();
    }
    xml_ += "<row r=\"";
    xml_ += std::to_string(row_ + 1);
    xml_ += "\">";
    nextColumn_ = 0;
    for (std::size_t i = 0; i < own; ++i) {
        cell(i, cells[i]);
    }
    for (std::size_t i = 0; i < added.size(); ++i) {
        text(first + i, added[i], kTextStyle);
    }
    for (std::size_t i = own; i < cells.size(); ++i) {
        cell(i + added.size(), cells[i]);
    }
    xml_ += "</row>";
    ++row_;
    if (xml_.size() >= kXmlBlock) {
        flushXml();
    }
}

void XlsxWriter::cell(std::size_t i, const Cell& c) {
    char number[32];
    switch (c.kind) {
    case Cell::Kind::Number:
        if (std::isfinite(c.number)) {
            const std::to_chars_result end =
                std::to_chars(number, number + sizeof number, c.number);
            value(i, std::string_view(number, end.ptr - number), nullptr, nullptr);
        } else {
            text(i, c.text, nullptr);
        }
        break;
    case Cell::Kind::Date: {
        const std::to_chars_result end = std::to_chars(number, number + sizeof number, c.number);
        const char* style = c.number < 1                       ? kTimeStyle
                            : c.number == std::floor(c.number) ? kDateStyle
                                                               : kDateTimeStyle;
        value(i, std::string_view(number, end.ptr - number), nullptr, style);
        break;
    }
    case Cell::Kind::Boolean:
        value(i, c.number != 0 ? "1" : "0", "b", nullptr);
        break;
    case Cell::Kind::Text:
        text(i, c.text, nullptr);
        break;
    }
}

void XlsxWriter::finish() {
    if (!sheetStarted_) {
        startSheet();
    }
    xml_ += "</sheetData></worksheet>";
    flushXml();
    zip_.end();
    zip_.finish();
}

} // namespace lists
