#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

class ReadAhead;
class ZipEntry;

// An element's or attribute's name: its namespace (empty for none) and its local part.
struct XmlName {
    std::string_view space;
    std::string_view local;

    bool is(std::string_view wantedSpace, std::string_view wantedLocal) const {
        return local == wantedLocal && space == wantedSpace;
    }
};

// A namespace that a handler looks for, compared fast. A reader hands every use of a declared
// namespace as a view of the same bytes: once one has matched, where the bytes lie is enough.
// So one object serves a single reading.
class XmlSpace {
public:
    explicit constexpr XmlSpace(std::string_view uri) : uri_(uri) {}
    bool is(std::string_view space) {
        if (seen_ != nullptr && space.data() == seen_ && space.size() == uri_.size()) {
            return true;
        }
        if (space != uri_) {
            return false;
        }
        seen_ = space.data();
        return true;
    }
    bool is(const XmlName& name, std::string_view local) {
        return name.local == local && is(name.space);
    }

private:
    std::string_view uri_;
    const char* seen_ = nullptr;
};

struct XmlAttribute {
    XmlName name;
    std::string_view value; // entities replaced, white space normalised
};

// The attributes of an element, valid during the handler's call.
class XmlAttributes {
public:
    explicit XmlAttributes(std::span<const XmlAttribute> all) : all_(all) {}
    std::optional<std::string_view> find(std::string_view space, std::string_view local) const;
    // The value of an attribute with this local name in some namespace.
    std::optional<std::string_view> findInAnySpace(std::string_view local) const;
    template <typename Use> void each(Use use) const {
        for (const XmlAttribute& attribute : all_) {
            use(attribute.name, attribute.value);
        }
    }

private:
    std::span<const XmlAttribute> all_;
};

// What a reader does with the parts of the XML, in document order. Text comes in pieces.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(const XmlName& name, const XmlAttributes& attributes) = 0;
    virtual void end(const XmlName& name) = 0;
    virtual void text(std::string_view text) = 0;
    // True once the handler has what it wants: the reading stops after the current block, and
    // the handler ignores what comes until then.
    virtual bool done() const { return false; }
    // True for a part whose start tags repeat a few shapes, as a sheet's rows and cells do:
    // the reader then reads a tag like one before by comparing its bytes.
    virtual bool repeatsTags() const { return false; }
    // Where the reading stands, for a message about bad XML: ", dopo la riga 12".
    virtual std::string where() const { return {}; }
};

// Parses an XML part of a workbook as it is inflated (on a thread of its own, ReadAhead), a
// block at a time: memory follows the block, never the part's size.
//
// A general XML parser spent most of the conversion's time on what a workbook never holds;
// this one reads the XML that spreadsheets write: elements, attributes, namespaces, text,
// the five predefined entities, character references, CDATA sections, comments and
// processing instructions, in UTF-8. A document type declaration is refused (office files have
// none; it is how entity bombs and external entities come in), and so are bytes that are not
// UTF-8, markup that does not close or nest, a single piece of markup (a start tag, say)
// longer than kMaximumToken, elements nested deeper than kMaximumDepth, and an element with
// more than kMaximumAttributes attributes (each costs memory beyond its bytes), and more than
// kMaximumBindings namespace declarations in scope.
class XmlReader {
public:
    static constexpr std::size_t kMaximumToken = 16 * 1024 * 1024;
    static constexpr std::size_t kMaximumDepth = 256;
    static constexpr std::size_t kMaximumAttributes = 1024;
    static constexpr std::size_t kMaximumBindings = 1024;

    // `cancelled` is polled between blocks.
    XmlReader(ZipEntry& entry, const std::atomic<bool>* cancelled);
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // Reads the part to its root element's end, or until the handler is done(). Exceptions of
    // the handler pass through; bad XML is a ConversionError that names the byte and the
    // handler's where().
    void parse(XmlHandler& handler);

private:
    static constexpr std::size_t kShortName = 16;
    struct Open {
        std::array<char, kShortName> bytes; // a short name, kept here
        std::size_t name;                   // in openNames_, for a longer one
        std::size_t length;                 // of the whole name
        std::size_t local;                  // where the local part starts in it
        std::string_view space;
        std::size_t bindings; // bindings_ before the element's own
        std::size_t children; // started so far
    };
    struct Binding {
        std::string prefix;
        std::string_view space;
    };
    // A prefix resolved lately: a document uses few, over and over.
    struct Remembered {
        std::uint64_t key = 0; // keyOf the prefix
        std::size_t length = 0;
        std::string_view space;
        std::uint64_t generation = 0;
    };
    // A start tag read before, to read the next ones like it without scanning their names or
    // resolving them again: its bytes with the values left out, cut where each value stood,
    // and its names as resolved then. Values that are plain only.
    static constexpr std::size_t kShapes = 8;
    static constexpr std::size_t kShapeAttributes = 8;
    static constexpr std::size_t kShapeBytes = 512;
    struct Shape {
        std::string bytes;                                    // the pieces between the values
        std::array<std::size_t, kShapeAttributes + 1> ends{}; // of each piece in `bytes`
        std::size_t count = 0;                                // attributes
        std::size_t nameLength = 0;
        std::size_t local = 0; // where the element's local name starts in its name
        std::string_view space;
        bool empty = false;
        std::uint64_t generation = 0;                            // 0: no shape
        std::array<XmlAttribute, kShapeAttributes> attributes{}; // names into `bytes`
    };
    struct RawAttribute {
        std::string_view name;
        std::string_view value;
        std::size_t colon; // in the name, or npos
        bool plain;        // no entity, no white space to normalise
    };

    bool more();
    bool markup();
    bool specialMarkup();
    bool text();
    bool startTag();
    bool startTagOfShape();
    bool startTagLike(Shape& shape);
    void remember(std::string_view tag, std::string_view name, const XmlName& resolved, bool empty);
    std::uint8_t& shapeByPlace();
    bool endTag();
    bool skipPast(std::string_view mark, std::size_t from);
    const char* deliver(const char* from, const char* to, bool cut, bool cdata);
    void hand(std::string_view text);
    void normalise(const RawAttribute& raw, std::string& out);
    void startElement(std::string_view tag, std::string_view name, std::size_t colon, bool empty);
    void enter(std::string_view name, const XmlName& resolved,
               std::span<const XmlAttribute> attributes, bool empty, std::size_t bindings);
    void endElement();
    std::string_view nameOf(const Open& open) const;
    void declare(std::string_view prefix, std::string_view space);
    XmlName resolve(std::string_view name, std::size_t colon, bool attribute);
    std::string_view spaceOf(std::string_view prefix);
    std::string_view lookUp(std::string_view prefix) const;
    const char* entity(const char* from, const char* to, std::string& out);
    [[noreturn]] void failed(const std::string& why) const;
    [[noreturn]] void invalid(const char* at) const;
    [[noreturn]] void tooDeep() const;

    ZipEntry& entry_;
    const std::atomic<bool>* cancelled_;
    std::unique_ptr<ReadAhead> source_;
    XmlHandler* handler_ = nullptr;

    const char* data_ = nullptr; // the bytes at hand, ReadAhead's
    std::size_t begin_ = 0;      // the first byte not parsed yet
    std::size_t end_ = 0;        // after the last byte at hand
    std::uint64_t base_ = 0;     // the part's offset of data_[0]
    bool ended_ = false;         // the part has no bytes beyond the buffer's
    bool rootEnded_ = false;

    std::vector<Open> open_;
    std::string openNames_;
    std::vector<Binding> bindings_;
    std::deque<std::string> spaces_; // every namespace declared, once: names point into them
    std::size_t scopeBytes_ = 0;
    std::uint64_t generation_ = 1;            // changes with the namespaces in scope
    std::array<Remembered, 64> remembered_{}; // by slotOf
    std::string_view defaultSpace_;           // valid while defaultGeneration_ is generation_
    std::uint64_t defaultGeneration_ = 0;

    bool rememberShapes_ = false;
    std::array<Shape, kShapes> shapes_{};
    // The shape of the last start tag at each depth and place among its siblings (the last
    // place standing for all beyond): in a sheet, a row's cells have their column's shape,
    // row after row.
    static constexpr std::size_t kPlaces = 32;
    std::array<std::array<std::uint8_t, kPlaces>, kMaximumDepth> byPlace_{};
    std::size_t nextVictim_ = 0; // the shape that a new one replaces
    std::size_t shapesKept_ = 0; // the first ones of shapes_; none unless the handler wants them

    std::vector<RawAttribute> raw_;
    bool declarations_ = false; // among raw_
    bool allPlain_ = true;      // every value of raw_
    std::vector<XmlAttribute> attributes_;
    std::string values_; // attribute values with entities replaced
    std::string text_;   // text with entities replaced
};

} // namespace lists
