#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

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

// The attributes of an element, as expat hands them over.
class XmlAttributes {
public:
    explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
    // The value of the attribute, if the element has it.
    const char* find(std::string_view space, std::string_view local) const;
    // The value of an attribute with this local name in some namespace.
    const char* findInAnySpace(std::string_view local) const;

private:
    const char** pairs_;
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
// follows the block, never the part's size. A document type declaration is refused (office
// files have none; it is how entity bombs and external entities come in), and so is a single
// piece of markup, such as a start tag, longer than kMaximumToken.
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
    std::uint64_t lastEvent_ = 0;
    // A handler's exception cannot cross expat's C frames: it is kept, the parser stopped, and
    // the exception thrown again once expat has returned.
    std::exception_ptr pending_;
    bool doctype_ = false;
};

} // namespace lists
