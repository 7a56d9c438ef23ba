#include "xlsx_reader.h"

#include "number_text.h"
#include "row_builder.h"
#include "spreadsheet_limits.h"
#include "utf8.h" // the verifier's
#include "zip_package.h"

#include <charconv>
#include <map>
#include <optional>

namespace lists {
namespace {

using orcus::sax::parser_attribute;
using orcus::sax::parser_element;

// Handlers that keep nothing but what they look for; the base gives the ignored calls.
struct Handler {
    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}
    void start_element(const parser_element&) {}
    void end_element(const parser_element&) {}
    void characters(std::string_view, bool) {}
    void attribute(const parser_attribute&) {}
};

// Relationship targets by id, and the first target of each type (by the type's last word).
struct Relationships : Handler {
    std::map<std::string, std::string, std::less<>> byId;
    std::map<std::string, std::string, std::less<>> byType;
    std::string id, type, target;

    void attribute(const parser_attribute& a) {
        if (a.name == "Id") {
            id = a.value;
        } else if (a.name == "Type") {
            type = a.value.substr(a.value.rfind('/') + 1);
        } else if (a.name == "Target") {
            target = a.value;
        }
    }
    void start_element(const parser_element& e) {
        if (e.name == "Relationship") {
            byId.emplace(id, target);
            byType.emplace(type, target);
        }
        id.clear();
        type.clear();
        target.clear();
    }
};

// The workbook's sheets in their order: names and relationship ids.
struct Workbook : Handler {
    std::vector<std::string> names;
    std::vector<std::string> ids;
    std::string name, id;

    void attribute(const parser_attribute& a) {
        if (a.name == "name") {
            name = a.value;
        } else if (a.name == "id" && !a.ns.empty()) {
            id = a.value;
        }
    }
    void start_element(const parser_element& e) {
        if (e.name == "sheet") {
            names.push_back(name);
            ids.push_back(id);
        }
        name.clear();
        id.clear();
    }
};

// The value of the "_xHHHH_" at `i`, if one stands there.
std::optional<char32_t> escapeAt(std::string_view text, std::size_t i) {
    unsigned value = 0;
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_' &&
        std::from_chars(text.data() + i + 2, text.data() + i + 6, value, 16).ptr ==
            text.data() + i + 6) {
        return value;
    }
    return std::nullopt;
}

// "_xHHHH_" is how Office writes a character that XML cannot hold (a carriage return, say).
// The values are UTF-16: a surrogate pair is one character, a lone half none (U+FFFD).
std::string unescapeOffice(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::optional<char32_t> value = escapeAt(text, i);
        if (!value) {
            out += text[i];
            continue;
        }
        i += 6;
        if (*value >= 0xD800 && *value <= 0xDFFF) {
            const std::optional<char32_t> low =
                *value <= 0xDBFF && i + 1 < text.size() ? escapeAt(text, i + 1) : std::nullopt;
            if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                value = 0x10000 + ((*value - 0xD800) << 10) + (*low - 0xDC00);
                i += 7;
            } else {
                value = 0xFFFD;
            }
        }
        char encoded[4];
        out.append(encoded, verifier::utf8::scrivi(*value, encoded));
    }
    return out;
}

std::string unescaped(std::string_view text) {
    return text.find("_x") == std::string_view::npos ? std::string(text) : unescapeOffice(text);
}

// The shared strings: the texts of <t> within each <si>, phonetic runs left out.
struct SharedStrings : Handler {
    std::string bytes;
    std::vector<std::uint64_t> starts;
    std::string current;
    bool inText = false;
    int phonetic = 0;

    void start_element(const parser_element& e) {
        if (e.name == "si") {
            current.clear();
        } else if (e.name == "t") {
            inText = phonetic == 0;
        } else if (e.name == "rPh") {
            ++phonetic;
        }
    }
    void end_element(const parser_element& e) {
        if (e.name == "si") {
            starts.push_back(bytes.size());
            bytes += unescaped(current);
        } else if (e.name == "t") {
            inText = false;
        } else if (e.name == "rPh") {
            --phonetic;
        }
    }
    void characters(std::string_view text, bool) {
        if (inText) {
            current.append(text);
        }
    }
    std::string_view get(std::size_t id) const {
        if (id >= starts.size()) {
            return {};
        }
        const std::uint64_t end = id + 1 < starts.size() ? starts[id + 1] : bytes.size();
        return std::string_view(bytes).substr(starts[id], end - starts[id]);
    }
};

// "B12" to column 1 (from 0); nullopt for anything else.
std::optional<std::size_t> columnOf(std::string_view address) {
    std::size_t column = 0;
    std::size_t letters = 0;
    for (const char c : address) {
        if (c < 'A' || c > 'Z') {
            break;
        }
        column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
        ++letters;
    }
    if (letters == 0 || letters > 3) {
        return std::nullopt;
    }
    return column - 1;
}

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The sheet's rows, handed to the sink as each ends; the rows skipped are blank.
struct SheetRows : Handler {
    SheetRows(const SharedStrings& strings, RowSink& sink, std::uint64_t* row, double* progress,
              std::size_t size)
        : strings(strings), sink(sink), row(row), progress(progress), size(size) {}

    const SharedStrings& strings;
    RowSink& sink;
    std::uint64_t* row;
    double* progress;
    std::size_t size;

    RowBuilder builder;
    std::uint64_t rowsDone = 0;
    std::size_t column = 0;
    bool firstCell = true;
    std::string reference, type, value, inlineText;
    bool inValue = false, inInline = false, inText = false;
    int phonetic = 0;

    void attribute(const parser_attribute& a) {
        if (a.name == "r") {
            reference = a.value;
        } else if (a.name == "t") {
            type = a.value;
        }
    }

    void start_element(const parser_element& e) {
        const std::string_view name = e.name;
        if (name == "row") {
            const std::optional<std::uint64_t> given = number(reference);
            const std::uint64_t index = given && *given > rowsDone ? *given - 1 : rowsDone;
            const Cell blank;
            while (rowsDone < index && rowsDone < kSheetRows) {
                *row = ++rowsDone;
                sink.row(std::span<const Cell>(&blank, 1), {});
            }
            builder.clear();
            firstCell = true;
            *progress = size == 0 ? 1.0 : static_cast<double>(e.begin_pos) / size;
        } else if (name == "c") {
            const std::optional<std::size_t> given = columnOf(reference);
            column = given ? *given : (firstCell ? 0 : column + 1);
            firstCell = false;
            cellType = type;
            value.clear();
            inlineText.clear();
        } else if (name == "v") {
            inValue = true;
        } else if (name == "is") {
            inInline = true;
        } else if (name == "t" && inInline) {
            inText = phonetic == 0;
        } else if (name == "rPh") {
            ++phonetic;
        }
        reference.clear();
        type.clear();
    }

    void end_element(const parser_element& e) {
        const std::string_view name = e.name;
        if (name == "v") {
            inValue = false;
        } else if (name == "t") {
            inText = false;
        } else if (name == "is") {
            inInline = false;
        } else if (name == "rPh") {
            --phonetic;
        } else if (name == "c") {
            endCell();
        } else if (name == "row") {
            if (rowsDone < kSheetRows) {
                *row = ++rowsDone;
                const Cell blank;
                sink.row(builder.empty() ? std::span<const Cell>(&blank, 1) : builder.cells(), {});
            }
        }
    }

    void characters(std::string_view text, bool) {
        if (inValue) {
            value.append(text);
        } else if (inText) {
            inlineText.append(text);
        }
    }

    void endCell() {
        if (cellType == "s") {
            if (const std::optional<std::uint64_t> id = number(value)) {
                builder.add(column, Cell::Kind::Text, 0, strings.get(*id));
            }
        } else if (cellType == "inlineStr") {
            builder.add(column, Cell::Kind::Text, 0, unescaped(inlineText));
        } else if (cellType == "str" || cellType == "e" || cellType == "d") {
            builder.add(column, Cell::Kind::Text, 0, unescaped(value));
        } else if (cellType == "b") {
            const bool truth = value == "1";
            builder.add(column, Cell::Kind::Boolean, truth ? 1 : 0, truth ? "VERO" : "FALSO");
        } else if (!value.empty()) {
            double number = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), number);
            if (error == std::errc() && end == value.data() + value.size()) {
                builder.add(column, Cell::Kind::Number, number, numberText(number));
            } else {
                builder.add(column, Cell::Kind::Text, 0, value);
            }
        }
    }

    std::string cellType;
};

// A relationship's target as a part name: absolute ("/xl/...") or relative to `folder`.
std::string partName(std::string_view folder, std::string_view target) {
    if (!target.empty() && target.front() == '/') {
        return std::string(target.substr(1));
    }
    std::string base(folder);
    while (target.starts_with("../")) {
        target.remove_prefix(3);
        const std::size_t slash = base.find_last_of('/', base.size() >= 2 ? base.size() - 2 : 0);
        base = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
    }
    return base + std::string(target);
}

std::string folderOf(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

} // namespace

XlsxReader::XlsxReader(const std::filesystem::path& path, std::string fileName,
                       const SheetChoice& sheet)
    : WorkbookReader(path, fileName) {
    std::string workbookPart = "xl/workbook.xml";
    if (package_.has("_rels/.rels")) {
        Relationships root;
        package_.parse(package_.read("_rels/.rels"), root);
        if (const auto it = root.byType.find("officeDocument"); it != root.byType.end()) {
            workbookPart = partName("", it->second);
        }
    }
    const std::string folder = folderOf(workbookPart);
    Relationships relationships;
    const std::string relationshipsPart =
        folder + "_rels/" + workbookPart.substr(folder.size()) + ".rels";
    if (package_.has(relationshipsPart)) {
        package_.parse(package_.read(relationshipsPart), relationships);
    }
    Workbook workbook;
    package_.parse(package_.read(workbookPart), workbook);
    const int chosen = sheet.pick(workbook.names);
    if (chosen < 0) {
        sheet.missing(fileName, workbook.names);
    }
    sheetNames_ = workbook.names;
    sheetName_ = workbook.names[chosen];
    const auto target = relationships.byId.find(workbook.ids[chosen]);
    if (target == relationships.byId.end()) {
        package_.unreadable("il foglio «" + sheetName_ + "» non ha una parte");
    }
    sheetPart_ = partName(folder, target->second);
    if (const auto it = relationships.byType.find("sharedStrings");
        it != relationships.byType.end()) {
        sharedStringsPart_ = partName(folder, it->second);
    }
}

void XlsxReader::readAll(RowSink& sink) {
    SharedStrings strings;
    if (!sharedStringsPart_.empty() && package_.has(sharedStringsPart_)) {
        package_.parse(package_.read(sharedStringsPart_), strings);
    }
    const std::vector<unsigned char> xml = package_.read(sheetPart_);
    SheetRows rows(strings, sink, &row_, &progress_, xml.size());
    parseSheet(xml, rows);
}

} // namespace lists
