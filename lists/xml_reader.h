#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XML_ParserStruct;

namespace lists {

class ZipEntry;

// An element's or attribute's name: its namespace (empty for none) and its local part.
struct XmlName {
    std::string_view space;
    std::string_view local;

    bool is(std::string_view wantedSpace, std::string_view wantedLocal) const {
        return local == wantedLocal && space == wantedSpace;
    }
};

// The prefixes declared where the parser stands ("table" for "urn:oasis:...:table:1.0", ""
// for the default namespace), and the names they make.
class XmlNamespaces {
public:
    // Takes the declarations among an element's attributes, at the element's depth.
    void open(const char** attributes);
    // Drops the declarations of the element that ends.
    void close();
    // "table:table-cell" as {"urn:...:table:1.0", "table-cell"}. An element without a prefix
    // is in the default namespace; an attribute without one is in none.
    XmlName element(const char* name);
    XmlName attribute(const char* name);

private:
    struct Binding {
        std::string prefix;
        std::string space;
        int depth;
    };
    std::string_view spaceOf(std::string_view prefix);

    std::vector<Binding> bindings_;
    int depth_ = 0;
    // The last prefixes looked up: a document uses few, over and over.
    static constexpr std::size_t kRemembered = 4;
    std::array<std::pair<std::string_view, std::string_view>, kRemembered> remembered_{};
    std::size_t next_ = 0;
};

// The attributes of an element, as expat hands them over.
class XmlAttributes {
public:
    XmlAttributes(const char** pairs, XmlNamespaces& namespaces)
        : pairs_(pairs), namespaces_(namespaces) {}
    // The value of the attribute, if the element has it.
    const char* find(std::string_view space, std::string_view local) const;
    // The value of an attribute with this local name in some namespace.
    const char* findInAnySpace(std::string_view local) const;
    // Calls `use(name, value)` for each attribute, in one pass.
    template <typename Use> void each(Use use) const {
        for (const char** p = pairs_; *p != nullptr; p += 2) {
            use(namespaces_.attribute(*p), p[1]);
        }
    }

private:
    const char** pairs_;
    XmlNamespaces& namespaces_;
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
    // Where the reading stands, for a message about bad XML: ", dopo la riga 12".
    virtual std::string where() const { return {}; }
};

// Parses an XML part of a workbook with expat as it is inflated, a block at a time: memory
// follows the block, never the part's size. Namespaces are resolved here, not by expat, whose
// own resolution halves its speed on the long names of OpenDocument. A document type declaration is
// refused (office files have none; it is how entity bombs and external entities come in), and so is
// a single piece of markup, such as a start tag, longer than kMaximumToken.
class XmlReader {
public:
    static constexpr std::uint64_t kMaximumToken = 16 * 1024 * 1024;

    // `cancelled` is polled between blocks.
    XmlReader(ZipEntry& entry, const std::atomic<bool>* cancelled);
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // Reads the part to its end, or until the handler is done(). Exceptions of the handler pass
    // through; bad XML is a ConversionError that names the byte and the handler's where().
    void parse(XmlHandler& handler);

    // Bytes of the part parsed so far.
    std::uint64_t offset() const;

private:
    static void onStart(void* self, const char* name, const char** attributes);
    static void onEnd(void* self, const char* name);
    static void onText(void* self, const char* text, int length);
    static void onDoctype(void* self, const char*, const char*, const char*, int);
    void event();
    [[noreturn]] void failed(const std::string& why) const;

    ZipEntry& entry_;
    const std::atomic<bool>* cancelled_;
    XML_ParserStruct* parser_;
    XmlHandler* handler_ = nullptr;
    XmlNamespaces namespaces_;
    std::uint64_t lastEvent_ = 0;
    // A handler's exception cannot cross expat's C frames: it is kept, the parser stopped, and
    // the exception thrown again once expat has returned.
    std::exception_ptr pending_;
    bool doctype_ = false;
};

} // namespace lists
