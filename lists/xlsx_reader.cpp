#include "xlsx_reader.h"

#include "conversion_error.h"
#include "number_text.h"
#include "row_builder.h"
#include "spreadsheet_dates.h"
#include "spreadsheet_limits.h"
#include "utf8.h" // the verifier's

#include <charconv>
#include <map>
#include <optional>

namespace lists {
namespace {

// The parts of a package are matched by their elements' local names, whichever of the
// format's namespaces (transitional or strict) they use.
struct Handler : XmlHandler {
    void end(const XmlName&) override {}
    void text(std::string_view) override {}
};

std::string valueOf(std::optional<std::string_view> value) {
    return std::string(value.value_or(std::string_view()));
}

template <typename Number> std::optional<Number> numberOf(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Relationship targets by id, and the first target of each type (by the type's last word).
struct Relationships : Handler {
    std::map<std::string, std::string, std::less<>> byId;
    std::map<std::string, std::string, std::less<>> byType;

    void start(const XmlName& name, const XmlAttributes& a) override {
        if (name.local != "Relationship") {
            return;
        }
        const std::string type = valueOf(a.find({}, "Type"));
        const std::string target = valueOf(a.find({}, "Target"));
        byId.emplace(valueOf(a.find({}, "Id")), target);
        byType.emplace(type.substr(type.rfind('/') + 1), target);
    }
};

// The workbook's sheets in their order: names and relationship ids; and its date system.
struct Workbook : Handler {
    std::vector<std::string> names;
    std::vector<std::string> ids;
    bool date1904 = false;

    void start(const XmlName& name, const XmlAttributes& a) override {
        if (name.local == "sheet") {
            names.push_back(valueOf(a.find({}, "name")));
            ids.push_back(valueOf(a.findInAnySpace("id")));
        } else if (name.local == "workbookPr") {
            const std::string value = valueOf(a.find({}, "date1904"));
            date1904 = value == "1" || value == "true";
        }
    }
};

// Which cell styles show dates: the number format of each <xf> of <cellXfs>.
struct Styles : Handler {
    std::map<int, bool> customIsDate;
    std::vector<int> formats;
    bool inCellXfs = false;

    void start(const XmlName& name, const XmlAttributes& a) override {
        if (name.local == "numFmt") {
            const auto id = numberOf<int>(valueOf(a.find({}, "numFmtId")));
            if (id) {
                customIsDate[*id] = dates::isDateFormat(valueOf(a.find({}, "formatCode")));
            }
        } else if (name.local == "cellXfs") {
            inCellXfs = true;
        } else if (name.local == "xf" && inCellXfs) {
            formats.push_back(numberOf<int>(valueOf(a.find({}, "numFmtId"))).value_or(0));
        }
    }
    void end(const XmlName& name) override {
        if (name.local == "cellXfs") {
            inCellXfs = false;
        }
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

// Unescaped in place only when an escape may be there: the common text is not copied again.
std::string_view unescaped(const std::string& text, std::string& scratch) {
    if (text.find("_x") == std::string::npos) {
        return text;
    }
    scratch = unescapeOffice(text);
    return scratch;
}

// Text gathered from a part, refused beyond a row's bytes: a cell cannot be longer than that.
// `what` names it, only when needed.
template <typename What>
void appendBounded(std::string& to, std::string_view text, const ZipArchive& archive, What what) {
    if (to.size() + text.size() > kRowBytes) {
        archive.unreadable(what() + " supera i 16 MB");
    }
    to.append(text);
}

// The shared strings: the texts of <t> within each <si>, phonetic runs left out.
struct SharedStrings : Handler {
    explicit SharedStrings(const ZipArchive& archive) : archive(archive) {}

    const ZipArchive& archive;
    std::string bytes;
    std::vector<std::uint64_t> starts;
    std::string current, scratch;
    bool inText = false;
    int phonetic = 0;

    void start(const XmlName& name, const XmlAttributes&) override {
        if (name.local == "si") {
            current.clear();
        } else if (name.local == "t") {
            inText = phonetic == 0;
        } else if (name.local == "rPh") {
            ++phonetic;
        }
    }
    void end(const XmlName& name) override {
        if (name.local == "si") {
            const std::string_view text = unescaped(current, scratch);
            if (bytes.size() + text.size() + (starts.size() + 1) * sizeof(std::uint64_t) >
                kSharedStringsBytes) {
                throw ConversionError("Il file " + archive.fileName() +
                                      " ha più testi diversi di quanti ne so tenere (oltre "
                                      "256 MB): salvalo come CSV e riprova.");
            }
            starts.push_back(bytes.size());
            bytes += text;
        } else if (name.local == "t") {
            inText = false;
        } else if (name.local == "rPh") {
            --phonetic;
        }
    }
    void text(std::string_view text) override {
        if (inText) {
            appendBounded(current, text, archive, [] { return std::string("un testo condiviso"); });
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

// The sheet's rows, handed to the sink as each ends; the rows skipped are blank.
struct SheetRows : Handler {
    SheetRows(const ZipArchive& archive, const SharedStrings& strings,
              const std::vector<bool>& dateStyles, bool date1904, RowSink& sink)
        : archive(archive), strings(strings), dateStyles(dateStyles), date1904(date1904),
          sink(sink) {}

    const ZipArchive& archive;
    const SharedStrings& strings;
    const std::vector<bool>& dateStyles;
    bool date1904;
    RowSink& sink;

    RowBuilder builder;
    std::uint64_t rowsDone = 0;
    std::size_t column = 0;
    bool firstCell = true;
    // What the cell's value is, by its type ("t").
    enum class Type { Number, Shared, Text, Iso, Boolean } type = Type::Number;
    std::string value, scratch;
    bool date = false;
    bool inValue = false, inInline = false, inText = false;
    int phonetic = 0;

    std::string where() const override { return ", dopo la riga " + std::to_string(rowsDone); }
    bool repeatsTags() const override { return true; }

    void blankRow() {
        const Cell blank;
        ++rowsDone;
        sink.row(std::span<const Cell>(&blank, 1), {});
    }

    static Type typeOf(std::string_view text) {
        if (text == "s") {
            return Type::Shared;
        }
        if (text == "inlineStr" || text == "str" || text == "e") {
            return Type::Text;
        }
        if (text == "d") {
            return Type::Iso;
        }
        return text == "b" ? Type::Boolean : Type::Number;
    }

    void start(const XmlName& name, const XmlAttributes& a) override {
        const std::string_view local = name.local;
        if (local == "c") {
            std::optional<std::string_view> reference;
            std::optional<std::string_view> style;
            type = Type::Number;
            a.each([&](const XmlName& attribute, std::string_view value) {
                if (!attribute.space.empty() || attribute.local.size() != 1) {
                    return;
                }
                switch (attribute.local.front()) {
                case 'r':
                    reference = value;
                    break;
                case 't':
                    type = typeOf(value);
                    break;
                case 's':
                    style = value;
                    break;
                default:
                    break;
                }
            });
            const std::optional<std::size_t> given =
                reference ? columnOf(*reference) : std::nullopt;
            column = given ? *given : (firstCell ? 0 : column + 1);
            firstCell = false;
            const auto index = style ? numberOf<std::size_t>(*style) : std::nullopt;
            date = index && *index < dateStyles.size() && dateStyles[*index];
            value.clear();
        } else if (local == "v") {
            inValue = true;
        } else if (local == "row") {
            const std::optional<std::string_view> reference = a.find({}, "r");
            const auto given = reference ? numberOf<std::uint64_t>(*reference) : std::nullopt;
            const std::uint64_t index = given && *given > rowsDone ? *given - 1 : rowsDone;
            while (rowsDone < index && rowsDone < kSheetRows) {
                blankRow();
            }
            builder.clear();
            firstCell = true;
        } else if (local == "is") {
            inInline = true;
        } else if (local == "t" && inInline) {
            inText = phonetic == 0;
        } else if (local == "rPh") {
            ++phonetic;
        }
    }

    void end(const XmlName& name) override {
        const std::string_view local = name.local;
        if (local == "c") {
            endCell();
        } else if (local == "v") {
            inValue = false;
        } else if (local == "row") {
            if (rowsDone >= kSheetRows) {
                // Blank rows beyond the sheet's end are nothing; a row with text there is no
                // sheet a spreadsheet wrote.
                if (!builder.empty()) {
                    archive.unreadable("la riga " + std::to_string(rowsDone + 1) + " è oltre le " +
                                       groupedDigits(kSheetRows) + " righe di un foglio");
                }
            } else if (builder.empty()) {
                blankRow();
            } else {
                ++rowsDone;
                sink.row(builder.cells(), {});
            }
        } else if (local == "t") {
            inText = false;
        } else if (local == "is") {
            inInline = false;
        } else if (local == "rPh") {
            --phonetic;
        }
    }

    void text(std::string_view text) override {
        if (inValue || inText) {
            appendBounded(value, text, archive,
                          [this] { return "la cella " + cellName(column, rowsDone + 1); });
        }
    }

    void endCell() {
        if (type == Type::Shared) {
            if (const auto id = numberOf<std::uint64_t>(value)) {
                add(Cell::Kind::Text, 0, strings.get(*id));
            }
        } else if (type == Type::Text) {
            add(Cell::Kind::Text, 0, unescaped(value, scratch));
        } else if (type == Type::Iso) {
            if (const auto serial = dates::serialOf(value)) {
                add(Cell::Kind::Date, *serial, dates::text(*serial));
            } else {
                add(Cell::Kind::Text, 0, value);
            }
        } else if (type == Type::Boolean) {
            const bool truth = value == "1";
            add(Cell::Kind::Boolean, truth ? 1 : 0, truth ? "VERO" : "FALSO");
        } else if (const auto plain = plainNumber(value); plain && !date) {
            add(Cell::Kind::Number, *plain, value);
        } else if (const auto number = plain ? plain : numberOf<double>(value)) {
            if (date) {
                const double serial = date1904 ? dates::from1904(*number) : *number;
                add(Cell::Kind::Date, serial, dates::text(serial));
            } else {
                add(Cell::Kind::Number, *number, numberText(*number));
            }
        } else {
            add(Cell::Kind::Text, 0, value);
        }
    }

    void add(Cell::Kind kind, double number, std::string_view text) {
        builder.add(column, kind, number, text);
        if (builder.bytes() > kRowBytes) {
            archive.unreadable("la riga " + std::to_string(rowsDone + 1) + " supera i 16 MB");
        }
    }
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
                       const SheetChoice& sheet, const std::atomic<bool>* cancelled)
    : WorkbookReader(path, fileName, cancelled) {
    std::string workbookPart = "xl/workbook.xml";
    if (archive_.has("_rels/.rels")) {
        Relationships root;
        parse("_rels/.rels", root);
        if (const auto it = root.byType.find("officeDocument"); it != root.byType.end()) {
            workbookPart = partName("", it->second);
        }
    }
    const std::string folder = folderOf(workbookPart);
    Relationships relationships;
    const std::string relationshipsPart =
        folder + "_rels/" + workbookPart.substr(folder.size()) + ".rels";
    if (archive_.has(relationshipsPart)) {
        parse(relationshipsPart, relationships);
    }
    Workbook workbook;
    parse(workbookPart, workbook);
    date1904_ = workbook.date1904;
    const int chosen = sheet.pick(workbook.names);
    if (chosen < 0) {
        sheet.missing(fileName, workbook.names);
    }
    sheetNames_ = workbook.names;
    sheetName_ = workbook.names[chosen];
    const auto target = relationships.byId.find(workbook.ids[chosen]);
    if (target == relationships.byId.end()) {
        archive_.unreadable("il foglio «" + sheetName_ + "» non ha una parte");
    }
    sheetPart_ = partName(folder, target->second);
    if (const auto it = relationships.byType.find("sharedStrings");
        it != relationships.byType.end()) {
        sharedStringsPart_ = partName(folder, it->second);
    }
    if (const auto it = relationships.byType.find("styles"); it != relationships.byType.end()) {
        readStyles(partName(folder, it->second));
    }
}

void XlsxReader::readStyles(const std::string& part) {
    if (!archive_.has(part)) {
        return;
    }
    Styles styles;
    parse(part, styles);
    for (const int format : styles.formats) {
        const auto custom = styles.customIsDate.find(format);
        dateStyles_.push_back(custom != styles.customIsDate.end() ? custom->second
                                                                  : dates::isDateFormat(format));
    }
}

void XlsxReader::readAll(RowSink& sink) {
    SharedStrings strings(archive_);
    if (!sharedStringsPart_.empty() && archive_.has(sharedStringsPart_)) {
        parse(sharedStringsPart_, strings);
    }
    SheetRows rows(archive_, strings, dateStyles_, date1904_, sink);
    parseSheet(sheetPart_, rows);
}

} // namespace lists
