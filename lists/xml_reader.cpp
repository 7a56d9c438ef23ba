#include "xml_reader.h"

#include "conversion_error.h"
#include "read_ahead.h"
#include "utf8.h" // the verifier's
#include "zip_archive.h"

#include <algorithm>
#include <cstring>

namespace lists {
namespace {

constexpr std::string_view kXmlSpace = "http://www.w3.org/XML/1998/namespace";
// The bytes of the open elements' names and of the namespaces declared: a hostile part cannot
// make them grow beyond.
constexpr std::size_t kMaximumScope = 1024 * 1024;

constexpr std::array<bool, 256> table(std::string_view bytes) {
    std::array<bool, 256> in{};
    for (const char c : bytes) {
        in[static_cast<unsigned char>(c)] = true;
    }
    return in;
}

constexpr std::array<bool, 256> kSpace = table(" \t\r\n");

bool space(char c) {
    return kSpace[static_cast<unsigned char>(c)];
}

// The bytes that end a name: white space and the marks around names.
constexpr std::array<bool, 256> kEndsName = table(" \t\r\n/>=<\"'&");
// The same and a colon, which parts a name's prefix from its local part.
constexpr std::array<bool, 256> kEndsNameOrPrefix = table(" \t\r\n/>=<\"'&:");
// The bytes where plain text stops: markup, an entity, a line end to make "\n".
constexpr std::array<bool, 256> kStopsText = table("<&\r");
// The bytes of an attribute's value that it must not hold, or that make it other than plain.
// Both quotes too: one of them ends the value.
constexpr std::array<bool, 256> kStopsValue = table("<&\t\n\r\"'");

bool stops(const std::array<bool, 256>& table, char c) {
    return table[static_cast<unsigned char>(c)];
}

// The first byte of [from, to) in `table`, or `to`. Four bytes a round: the names, values and
// texts of a sheet are most of its bytes.
[[gnu::always_inline]] inline const char* scanHere(const std::array<bool, 256>& table,
                                                   const char* from, const char* to) {
    for (; to - from >= 4; from += 4) {
        if (stops(table, from[0])) {
            return from;
        }
        if (stops(table, from[1])) {
            return from + 1;
        }
        if (stops(table, from[2])) {
            return from + 2;
        }
        if (stops(table, from[3])) {
            return from + 3;
        }
    }
    while (from < to && !stops(table, *from)) {
        ++from;
    }
    return from;
}

// The same, as a call: names are scanned from several places.
const char* scan(const std::array<bool, 256>& table, const char* from, const char* to) {
    return scanHere(table, from, to);
}

template <typename Word> Word load(const char* bytes) {
    Word word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Names are short: compared here, without a call, a word at a time (the last word overlaps the
// one before it).
inline bool sameBytes(const char* x, const char* y, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            if (load<std::uint64_t>(x + i) != load<std::uint64_t>(y + i)) {
                return false;
            }
        }
        return load<std::uint64_t>(x + n - 8) == load<std::uint64_t>(y + n - 8);
    }
    if (n >= 4) {
        return load<std::uint32_t>(x) == load<std::uint32_t>(y) &&
               load<std::uint32_t>(x + n - 4) == load<std::uint32_t>(y + n - 4);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i] != y[i]) {
            return false;
        }
    }
    return true;
}

bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sameBytes(a.data(), b.data(), a.size());
}

// Copies a name of at most 16 bytes to `to` in a few moves (two that overlap), not byte by byte.
inline void keepShort(char* to, std::string_view name) {
    const std::size_t n = name.size();
    const char* const from = name.data();
    if (n >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

const char* nameEnd(const char* from, const char* to) {
    return scan(kEndsName, from, to);
}

const char* skipSpace(const char* from, const char* to) {
    while (from < to && space(*from)) {
        ++from;
    }
    return from;
}

const char* find(const char* from, const char* to, char c) {
    return static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(to - from)));
}

// Scans a name: returns where it ends and sets `colon` to its first colon, or npos.
const char* nameEnd(const char* from, const char* to, std::size_t& colon) {
    const char* const start = from;
    colon = std::string_view::npos;
    from = scan(kEndsNameOrPrefix, from, to);
    if (from < to && *from == ':') {
        colon = static_cast<std::size_t>(from - start);
        from = nameEnd(from + 1, to);
    }
    return from;
}

// A prefix of at most 8 bytes as one number: with its length, it tells the prefix apart from
// any other (two loads that overlap cover 4 to 8 bytes). Longer prefixes are not remembered.
std::uint64_t keyOf(std::string_view prefix) {
    const std::size_t n = prefix.size();
    if (n >= 4) {
        return load<std::uint32_t>(prefix.data()) |
               std::uint64_t{load<std::uint32_t>(prefix.data() + n - 4)} << 32;
    }
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < n; ++i) {
        key |= std::uint64_t{static_cast<unsigned char>(prefix[i])} << (8 * i);
    }
    return key;
}

// The slot of remembered_ for a key: the prefixes that office files use together ("office",
// "table", "text", "calcext", "style") fall in slots apart, else each use of one would evict
// another.
std::size_t slotOf(std::uint64_t key, std::size_t length) {
    return ((key + (std::uint64_t{length} << 56)) * 0x9E3779B97F4A7C15u) >> 58;
}

// XML 1.0's characters: a reference to anything else is an error.
bool xmlCharacter(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

std::optional<std::string_view> XmlAttributes::find(std::string_view space,
                                                    std::string_view local) const {
    for (const XmlAttribute& attribute : all_) {
        if (attribute.name.is(space, local)) {
            return attribute.value;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> XmlAttributes::findInAnySpace(std::string_view local) const {
    for (const XmlAttribute& attribute : all_) {
        if (!attribute.name.space.empty() && attribute.name.local == local) {
            return attribute.value;
        }
    }
    return std::nullopt;
}

XmlReader::XmlReader(ZipEntry& entry, const std::atomic<bool>* cancelled)
    : entry_(entry), cancelled_(cancelled) {}

XmlReader::~XmlReader() = default;

void XmlReader::failed(const std::string& why) const {
    std::string message = why;
    if (handler_ != nullptr) {
        message += handler_->where();
    }
    throw ConversionError("Il file " + entry_.archiveName() + " non è un foglio di calcolo " +
                          "leggibile (" + message + ").");
}

void XmlReader::invalid(const char* at) const {
    failed("XML non valido nella parte " + entry_.name() + " al byte " +
           std::to_string(base_ + static_cast<std::uint64_t>(at - data_)));
}

// Keeps the bytes from begin_ on (a piece of markup not yet whole) and reads on after them.
// False at the part's end.
bool XmlReader::more() {
    if (cancelled_ != nullptr && cancelled_->load(std::memory_order_relaxed)) {
        throw ConversionCancelled();
    }
    const std::size_t kept = end_ - begin_;
    if (kept > kMaximumToken) {
        failed("la parte " + entry_.name() + " ha un elemento XML di oltre 16 MB");
    }
    const std::string_view bytes = source_->next(kept);
    base_ += begin_;
    data_ = bytes.data();
    begin_ = 0;
    end_ = bytes.size();
    ended_ = bytes.size() == kept;
    return !ended_;
}

void XmlReader::parse(XmlHandler& handler) {
    handler_ = &handler;
    rememberShapes_ = handler.repeatsTags();
    source_ = std::make_unique<ReadAhead>(entry_);
    if (more() && std::string_view(data_, end_).starts_with("\xEF\xBB\xBF")) {
        begin_ = 3;
    }
    for (;;) {
        const bool whole = begin_ < end_ && (data_[begin_] == '<' ? markup() : text());
        if (rootEnded_) {
            return;
        }
        if (whole) {
            continue;
        }
        if (handler.done()) {
            return;
        }
        if (ended_ || !more()) {
            // A piece of markup cut short, or elements left open.
            invalid(data_ + begin_);
        }
    }
}

inline bool XmlReader::markup() {
    if (end_ - begin_ < 2) {
        return false;
    }
    switch (data_[begin_ + 1]) {
    case '/':
        return endTag();
    case '?':
        return skipPast("?>", 2);
    case '!':
        return specialMarkup();
    default:
        return (shapesKept_ > 0 && startTagOfShape()) || startTag();
    }
}

// A comment, a CDATA section or a document type declaration (refused) at begin_.
bool XmlReader::specialMarkup() {
    const char* p = data_ + begin_;
    const std::string_view rest(p, end_ - begin_);
    // The longest of the marks below: shorter, it cannot be told apart yet.
    if (rest.size() < 9 && !ended_) {
        return false;
    }
    if (rest.starts_with("<!--")) {
        return skipPast("-->", 4);
    }
    if (rest.starts_with("<![CDATA[")) {
        const std::size_t close = rest.find("]]>", 9);
        if (close == std::string_view::npos) {
            return false;
        }
        if (open_.empty()) {
            invalid(p);
        }
        deliver(p + 9, p + close, false, true);
        begin_ += close + 3;
        return true;
    }
    if (rest.starts_with("<!DOCTYPE")) {
        failed("la parte " + entry_.name() + " dichiara un tipo di documento (DTD), che un " +
               "foglio di calcolo non ha");
    }
    invalid(p);
}

// Comments and processing instructions (the XML declaration too) say nothing to a reader.
bool XmlReader::skipPast(std::string_view mark, std::size_t from) {
    const std::string_view rest(data_ + begin_, end_ - begin_);
    const std::size_t at = rest.find(mark, from);
    if (at == std::string_view::npos) {
        return false;
    }
    begin_ += at + mark.size();
    return true;
}

// The common case, a prefix remembered, is a few instructions: inlined where names are resolved.
inline std::string_view XmlReader::spaceOf(std::string_view prefix) {
    if (prefix.size() > 8) {
        return lookUp(prefix);
    }
    const std::uint64_t key = keyOf(prefix);
    Remembered& remembered = remembered_[slotOf(key, prefix.size())];
    if (remembered.key == key && remembered.length == prefix.size() &&
        remembered.generation == generation_) {
        return remembered.space;
    }
    const std::string_view space = lookUp(prefix);
    remembered = {key, prefix.size(), space, generation_};
    return space;
}

inline XmlName XmlReader::resolve(std::string_view name, std::size_t colon, bool attribute) {
    if (colon == std::string_view::npos) {
        // An attribute without a prefix is in no namespace; an element is in the default one.
        if (attribute) {
            return {std::string_view(), name};
        }
        if (defaultGeneration_ != generation_) {
            defaultSpace_ = spaceOf({});
            defaultGeneration_ = generation_;
        }
        return {defaultSpace_, name};
    }
    return {spaceOf(name.substr(0, colon)), name.substr(colon + 1)};
}

// Where the shape of the start tag at begin_ is kept by its place.
inline std::uint8_t& XmlReader::shapeByPlace() {
    const std::size_t depth = std::min(open_.size(), kMaximumDepth - 1);
    const std::size_t place = open_.empty() ? 0 : std::min(open_.back().children, kPlaces - 1);
    return byPlace_[depth][place];
}

// Most start tags of a sheet have the shape of one before: first the shape of the last tag in
// the same place, then the others.
inline bool XmlReader::startTagOfShape() {
    std::uint8_t& byPlace = shapeByPlace();
    const std::size_t first = std::min<std::size_t>(byPlace, kShapes - 1);
    for (std::size_t i = 0; i < shapesKept_; ++i) {
        const std::size_t index = i == 0 ? first : (i <= first ? i - 1 : i);
        Shape& shape = shapes_[index];
        if (shape.generation == generation_ && startTagLike(shape)) {
            byPlace = static_cast<std::uint8_t>(index);
            return true;
        }
    }
    return false;
}

bool XmlReader::startTag() {
    const char* const p = data_ + begin_;
    const char* const e = data_ + end_;
    std::size_t colon = 0;
    const char* q = nameEnd(p + 1, e, colon);
    if (q == e) {
        return false;
    }
    if (q == p + 1) {
        invalid(p);
    }
    const std::string_view name(p + 1, static_cast<std::size_t>(q - p - 1));
    const std::size_t nameColon = colon;
    raw_.clear();
    declarations_ = false;
    allPlain_ = true;
    bool empty = false;
    for (;;) {
        const char* spaced = q;
        q = skipSpace(q, e);
        if (q == e) {
            return false;
        }
        if (*q == '>') {
            ++q;
            break;
        }
        if (*q == '/') {
            if (q + 1 == e) {
                return false;
            }
            if (q[1] != '>') {
                invalid(q);
            }
            q += 2;
            empty = true;
            break;
        }
        // Attributes stand apart by white space.
        if (q == spaced) {
            invalid(q);
        }
        const char* const attribute = q;
        q = nameEnd(q, e, colon);
        if (q == e) {
            return false;
        }
        if (q == attribute) {
            invalid(q);
        }
        const std::string_view attributeName(attribute, static_cast<std::size_t>(q - attribute));
        q = skipSpace(q, e);
        if (q == e) {
            return false;
        }
        if (*q != '=') {
            invalid(q);
        }
        q = skipSpace(q + 1, e);
        if (q == e) {
            return false;
        }
        if (*q != '"' && *q != '\'') {
            invalid(q);
        }
        const char quote = *q;
        const char* const value = q + 1;
        const char* close = value;
        bool plain = true;
        for (;;) {
            close = scanHere(kStopsValue, close, e);
            if (close == e || *close == quote) {
                break;
            }
            if (*close == '<') {
                invalid(close);
            }
            plain = plain && (*close == '"' || *close == '\'');
            ++close;
        }
        if (close == e) {
            return false;
        }
        allPlain_ = allPlain_ && plain;
        declarations_ = declarations_ || (attributeName.size() >= 5 && attributeName[0] == 'x' &&
                                          attributeName.starts_with("xmlns"));
        if (raw_.size() == kMaximumAttributes) {
            failed("la parte " + entry_.name() + " ha un elemento XML con oltre " +
                   std::to_string(kMaximumAttributes) + " attributi");
        }
        raw_.push_back({attributeName,
                        std::string_view(value, static_cast<std::size_t>(close - value)), colon,
                        plain});
        q = close + 1;
    }
    begin_ = static_cast<std::size_t>(q - data_);
    startElement(std::string_view(p, static_cast<std::size_t>(q - p)), name, nameColon, empty);
    return true;
}

bool XmlReader::endTag() {
    const char* const p = data_ + begin_;
    const char* const e = data_ + end_;
    if (open_.empty()) {
        invalid(p);
    }
    // The only name that may stand here is the open element's, whole.
    const std::string_view open = nameOf(open_.back());
    const char* q = p + 2 + open.size();
    if (e - q < 1) {
        return false;
    }
    if (!same(std::string_view(p + 2, open.size()), open) || !stops(kEndsName, *q)) {
        invalid(p);
    }
    q = skipSpace(q, e);
    if (q == e) {
        return false;
    }
    if (*q != '>') {
        invalid(p);
    }
    begin_ = static_cast<std::size_t>(q + 1 - data_);
    endElement();
    return true;
}

void XmlReader::tooDeep() const {
    failed("la parte " + entry_.name() + " annida gli elementi XML oltre " +
           std::to_string(kMaximumDepth) + " livelli");
}

void XmlReader::startElement(std::string_view tag, std::string_view name, std::size_t colon,
                             bool empty) {
    if (open_.size() >= kMaximumDepth) {
        tooDeep();
    }
    const std::size_t bindings = bindings_.size();
    const auto declaration = [this](const RawAttribute& raw) {
        return declarations_ && raw.name.starts_with("xmlns") &&
               (raw.name.size() == 5 || raw.colon == 5);
    };
    // Declarations first: they hold for the element's own name and attributes.
    if (declarations_) {
        for (const RawAttribute& raw : raw_) {
            if (declaration(raw)) {
                std::string value;
                normalise(raw, value);
                declare(raw.name.substr(std::min<std::size_t>(6, raw.name.size())), value);
            }
        }
    }
    values_.clear();
    if (!allPlain_) {
        // A value never grows when normalised: with room for all of them, values_ does not
        // move and the views into it stay valid.
        std::size_t rawBytes = 0;
        for (const RawAttribute& raw : raw_) {
            rawBytes += raw.value.size();
        }
        values_.reserve(rawBytes);
    }
    attributes_.clear();
    for (const RawAttribute& raw : raw_) {
        if (declaration(raw)) {
            continue;
        }
        std::string_view value = raw.value;
        if (!raw.plain) {
            const std::size_t start = values_.size();
            normalise(raw, values_);
            value = std::string_view(values_).substr(start);
        }
        attributes_.push_back({raw.colon == std::string_view::npos
                                   ? XmlName{std::string_view(), raw.name}
                                   : resolve(raw.name, raw.colon, true),
                               value});
    }
    const XmlName resolved = resolve(name, colon, false);
    if (!rememberShapes_) {
    } else if (!declarations_ && allPlain_ && raw_.size() <= kShapeAttributes &&
               tag.size() <= kShapeBytes) {
        remember(tag, name, resolved, empty);
    }
    enter(name, resolved, attributes_, empty, bindings);
}

[[gnu::always_inline]] inline void XmlReader::enter(std::string_view name, const XmlName& resolved,
                                                    std::span<const XmlAttribute> attributes,
                                                    bool empty, std::size_t bindings) {
    if (!open_.empty()) {
        ++open_.back().children;
    }
    Open& open = open_.emplace_back();
    open.name = openNames_.size();
    open.length = name.size();
    open.local = static_cast<std::size_t>(resolved.local.data() - name.data());
    open.space = resolved.space;
    open.bindings = bindings;
    if (name.size() <= kShortName) {
        keepShort(open.bytes.data(), name);
    } else {
        openNames_ += name;
        if (openNames_.size() + scopeBytes_ > kMaximumScope) {
            failed("la parte " + entry_.name() + " ha nomi XML per oltre 1 MB");
        }
    }
    handler_->start(resolved, XmlAttributes(attributes));
    if (empty) {
        endElement();
    }
}

// Keeps the start tag just read, with no namespace declared in it and plain values, as the
// shape of the ones like it, in place of the shape kept longest.
void XmlReader::remember(std::string_view tag, std::string_view name, const XmlName& resolved,
                         bool empty) {
    const std::size_t index = nextVictim_;
    nextVictim_ = (nextVictim_ + 1) % kShapes;
    shapesKept_ = std::max(shapesKept_, index + 1);
    Shape& shape = shapes_[index];
    shape.bytes.clear();
    std::array<std::size_t, kShapeAttributes> locals{};
    const char* from = tag.data();
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        // An attribute's name lies between the value before it and its own.
        locals[i] =
            shape.bytes.size() + static_cast<std::size_t>(attributes_[i].name.local.data() - from);
        shape.bytes.append(from, raw_[i].value.data());
        shape.ends[i] = shape.bytes.size();
        from = raw_[i].value.data() + raw_[i].value.size();
    }
    shape.bytes.append(from, tag.data() + tag.size());
    shape.ends[raw_.size()] = shape.bytes.size();
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        shape.attributes[i].name = {
            attributes_[i].name.space,
            std::string_view(shape.bytes).substr(locals[i], attributes_[i].name.local.size())};
    }
    shape.count = raw_.size();
    shape.nameLength = name.size();
    shape.local = static_cast<std::size_t>(resolved.local.data() - name.data());
    shape.space = resolved.space;
    shape.empty = empty;
    shape.generation = generation_;
    shapeByPlace() = static_cast<std::uint8_t>(index);
}

// Reads the start tag at begin_ if it has the shape's bytes around its values, and plain
// values: then each name is the shape's, as a scan of the same bytes would find it.
bool XmlReader::startTagLike(Shape& shape) {
    const char* const p = data_ + begin_;
    const char* const e = data_ + end_;
    const char* q = p;
    std::size_t from = 0;
    const char* const bytes = shape.bytes.data();
    for (std::size_t i = 0;; ++i) {
        const std::size_t size = shape.ends[i] - from;
        if (static_cast<std::size_t>(e - q) < size || !sameBytes(q, bytes + from, size)) {
            return false;
        }
        q += size;
        from = shape.ends[i];
        if (i == shape.count) {
            break;
        }
        // The piece ends with the value's opening quote.
        const char* const close = scanHere(kStopsValue, q, e);
        if (close == e || *close != q[-1]) {
            return false;
        }
        shape.attributes[i].value = std::string_view(q, static_cast<std::size_t>(close - q));
        q = close;
    }
    if (open_.size() >= kMaximumDepth) {
        tooDeep();
    }
    begin_ = static_cast<std::size_t>(q - data_);
    const std::string_view name(p + 1, shape.nameLength);
    enter(name, XmlName{shape.space, name.substr(shape.local)},
          std::span<const XmlAttribute>(shape.attributes.data(), shape.count), shape.empty,
          bindings_.size());
    return true;
}

inline void XmlReader::endElement() {
    const Open& open = open_.back();
    const std::string_view name = nameOf(open);
    handler_->end(XmlName{open.space, name.substr(open.local)});
    if (open.length > kShortName) {
        openNames_.resize(open.name);
    }
    if (bindings_.size() > open.bindings) {
        bindings_.resize(open.bindings);
        ++generation_;
    }
    open_.pop_back();
    rootEnded_ = open_.empty();
}

inline std::string_view XmlReader::nameOf(const Open& open) const {
    return open.length <= kShortName ? std::string_view(open.bytes.data(), open.length)
                                     : std::string_view(openNames_).substr(open.name, open.length);
}

void XmlReader::declare(std::string_view prefix, std::string_view space) {
    auto known = std::find(spaces_.begin(), spaces_.end(), space);
    if (known == spaces_.end()) {
        scopeBytes_ += space.size() + sizeof(std::string);
        if (scopeBytes_ > kMaximumScope) {
            failed("la parte " + entry_.name() + " ha nomi XML per oltre 1 MB");
        }
        known = spaces_.emplace(spaces_.end(), space);
    }
    if (bindings_.size() == kMaximumBindings) {
        failed("la parte " + entry_.name() + " dichiara oltre " + std::to_string(kMaximumBindings) +
               " spazi dei nomi XML");
    }
    bindings_.push_back({std::string(prefix), *known});
    ++generation_;
}

std::string_view XmlReader::lookUp(std::string_view prefix) const {
    if (prefix == "xml") {
        return kXmlSpace;
    }
    const auto binding = std::find_if(bindings_.rbegin(), bindings_.rend(),
                                      [&](const Binding& b) { return b.prefix == prefix; });
    return binding != bindings_.rend() ? binding->space : std::string_view();
}

// The text up to the next markup, or up to the bytes at hand's end.
bool XmlReader::text() {
    const char* const p = data_ + begin_;
    const char* const e = data_ + end_;
    const char* const q = scanHere(kStopsText, p, e);
    if (q == e || *q == '<') {
        hand(std::string_view(p, static_cast<std::size_t>(q - p)));
        begin_ = static_cast<std::size_t>(q - data_);
        return q < e;
    }
    const char* const markup = find(q, e, '<');
    const char* const to = markup != nullptr ? markup : e;
    const char* const stopped = deliver(p, to, markup == nullptr && !ended_, false);
    begin_ = static_cast<std::size_t>(stopped - data_);
    return stopped == markup;
}

// Hands over the text in [from, to) with its entities replaced (not in CDATA) and its line
// ends made "\n". With `cut`, more text follows `to`: an entity or a carriage return cut there
// is left for the next block, and the returned position is where it starts.
const char* XmlReader::deliver(const char* from, const char* to, bool cut, bool cdata) {
    const char* const amp = cdata ? nullptr : find(from, to, '&');
    const char* const cr = find(from, to, '\r');
    if (amp == nullptr && cr == nullptr) {
        hand(std::string_view(from, static_cast<std::size_t>(to - from)));
        return to;
    }
    text_.clear();
    const char* c = from;
    while (c < to) {
        if (*c == '&' && !cdata) {
            if (cut && find(c, to, ';') == nullptr) {
                break;
            }
            c = entity(c, to, text_);
        } else if (*c == '\r') {
            if (cut && c + 1 == to) {
                break;
            }
            text_ += '\n';
            c += c + 1 < to && c[1] == '\n' ? 2 : 1;
        } else {
            const char* run = c;
            while (run < to && *run != '\r' && (cdata || *run != '&')) {
                ++run;
            }
            text_.append(c, run);
            c = run;
        }
    }
    hand(text_);
    return c;
}

inline void XmlReader::hand(std::string_view text) {
    if (text.empty()) {
        return;
    }
    if (open_.empty()) {
        // Only white space stands outside the root element.
        if (!std::all_of(text.begin(), text.end(), space)) {
            invalid(data_ + begin_);
        }
        return;
    }
    handler_->text(text);
}

// An attribute's value as XML reads it: entities replaced, and each white space character (a
// line end "\r\n" too) made a space. A plain value needs nothing.
void XmlReader::normalise(const RawAttribute& raw, std::string& out) {
    if (raw.plain) {
        out.append(raw.value);
        return;
    }
    const char* const end = raw.value.data() + raw.value.size();
    for (const char* c = raw.value.data(); c < end;) {
        if (*c == '&') {
            c = entity(c, end, out);
        } else {
            c += *c == '\r' && c + 1 < end && c[1] == '\n' ? 2 : 1;
            out += space(c[-1]) ? ' ' : c[-1];
        }
    }
}

// Replaces the entity or character reference at `from` ('&') and returns the byte after it.
const char* XmlReader::entity(const char* from, const char* to, std::string& out) {
    const char* const semicolon = find(from, to, ';');
    if (semicolon == nullptr) {
        invalid(from);
    }
    const std::string_view name(from + 1, static_cast<std::size_t>(semicolon - from - 1));
    static constexpr std::pair<std::string_view, char> kPredefined[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entityName, character] : kPredefined) {
        if (name == entityName) {
            out += character;
            return semicolon + 1;
        }
    }
    // Only character references are left: no document type defines other entities.
    if (!name.starts_with('#') || name.size() < 2) {
        invalid(from);
    }
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t value = 0;
    for (const char d : digits) {
        std::uint32_t digit = 0;
        if (d >= '0' && d <= '9') {
            digit = static_cast<std::uint32_t>(d - '0');
        } else if (hex && d >= 'a' && d <= 'f') {
            digit = static_cast<std::uint32_t>(d - 'a' + 10);
        } else if (hex && d >= 'A' && d <= 'F') {
            digit = static_cast<std::uint32_t>(d - 'A' + 10);
        } else {
            invalid(from);
        }
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) {
            invalid(from);
        }
    }
    if (digits.empty() || !xmlCharacter(value)) {
        invalid(from);
    }
    char encoded[4];
    out.append(encoded, verifier::utf8::scrivi(value, encoded));
    return semicolon + 1;
}

} // namespace lists
