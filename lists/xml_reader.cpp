#include "xml_reader.h"

#include "conversion_error.h"
#include "zip_archive.h"

#include <expat.h>

#include <cstring>
#include <exception>
#include <utility>

namespace lists {
namespace {

constexpr int kBlock = 256 * 1024;
constexpr std::string_view kXmlSpace = "http://www.w3.org/XML/1998/namespace";

// "table:table-cell" as "table" and "table-cell"; no prefix for "row".
std::pair<std::string_view, std::string_view> prefixed(const char* name) {
    const std::string_view whole(name);
    const std::size_t colon = whole.find(':');
    if (colon == std::string_view::npos) {
        return {{}, whole};
    }
    return {whole.substr(0, colon), whole.substr(colon + 1)};
}

} // namespace

void XmlNamespaces::open(const char** attributes) {
    ++depth_;
    for (const char** p = attributes; *p != nullptr; p += 2) {
        const std::string_view name(*p);
        if (!name.starts_with("xmlns") || (name.size() > 5 && name[5] != ':')) {
            continue;
        }
        bindings_.push_back({std::string(name.size() > 5 ? name.substr(6) : std::string_view()),
                             std::string(p[1]), depth_});
        remembered_.fill({});
    }
}

void XmlNamespaces::close() {
    if (!bindings_.empty() && bindings_.back().depth == depth_) {
        while (!bindings_.empty() && bindings_.back().depth == depth_) {
            bindings_.pop_back();
        }
        remembered_.fill({});
    }
    --depth_;
}

std::string_view XmlNamespaces::spaceOf(std::string_view prefix) {
    for (const auto& [known, space] : remembered_) {
        if (known.data() != nullptr && known == prefix) {
            return space;
        }
    }
    std::string_view space = prefix == "xml" ? kXmlSpace : std::string_view();
    // What is remembered must outlive expat's buffer: the binding's own prefix.
    std::string_view kept = prefix.empty() ? std::string_view("") : std::string_view();
    for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it) {
        if (it->prefix == prefix) {
            space = it->space;
            kept = it->prefix;
            break;
        }
    }
    if (kept.data() != nullptr) {
        remembered_[next_] = {kept, space};
        next_ = (next_ + 1) % kRemembered;
    }
    return space;
}

XmlName XmlNamespaces::element(const char* name) {
    const auto [prefix, local] = prefixed(name);
    return {spaceOf(prefix), local};
}

XmlName XmlNamespaces::attribute(const char* name) {
    const auto [prefix, local] = prefixed(name);
    return {prefix.empty() ? std::string_view() : spaceOf(prefix), local};
}

const char* XmlAttributes::find(std::string_view space, std::string_view local) const {
    for (const char** p = pairs_; *p != nullptr; p += 2) {
        if (namespaces_.attribute(*p).is(space, local)) {
            return p[1];
        }
    }
    return nullptr;
}

const char* XmlAttributes::findInAnySpace(std::string_view local) const {
    for (const char** p = pairs_; *p != nullptr; p += 2) {
        const XmlName name = namespaces_.attribute(*p);
        if (!name.space.empty() && name.local == local) {
            return p[1];
        }
    }
    return nullptr;
}

XmlReader::XmlReader(ZipEntry& entry, const std::atomic<bool>* cancelled)
    : entry_(entry), cancelled_(cancelled), parser_(XML_ParserCreate(nullptr)) {
    if (parser_ == nullptr) {
        throw std::bad_alloc();
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, onStart, onEnd);
    XML_SetCharacterDataHandler(parser_, onText);
    XML_SetStartDoctypeDeclHandler(parser_, onDoctype);
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlReader::~XmlReader() {
    XML_ParserFree(parser_);
}

std::uint64_t XmlReader::offset() const {
    const XML_Index index = XML_GetCurrentByteIndex(parser_);
    return index < 0 ? 0 : static_cast<std::uint64_t>(index);
}

void XmlReader::failed(const std::string& why) const {
    std::string message = why;
    if (handler_ != nullptr) {
        message += handler_->where();
    }
    throw ConversionError("Il file " + entry_.archiveName() + " non è un foglio di calcolo " +
                          "leggibile (" + message + ").");
}

void XmlReader::event() {
    lastEvent_ = offset();
}

void XmlReader::onStart(void* self, const char* name, const char** attributes) {
    auto* reader = static_cast<XmlReader*>(self);
    reader->event();
    try {
        reader->namespaces_.open(attributes);
        reader->handler_->start(reader->namespaces_.element(name),
                                XmlAttributes(attributes, reader->namespaces_));
    } catch (...) {
        reader->pending_ = std::current_exception();
        XML_StopParser(reader->parser_, XML_FALSE);
    }
}

void XmlReader::onEnd(void* self, const char* name) {
    auto* reader = static_cast<XmlReader*>(self);
    reader->event();
    try {
        reader->handler_->end(reader->namespaces_.element(name));
        reader->namespaces_.close();
    } catch (...) {
        reader->pending_ = std::current_exception();
        XML_StopParser(reader->parser_, XML_FALSE);
    }
}

void XmlReader::onText(void* self, const char* text, int length) {
    auto* reader = static_cast<XmlReader*>(self);
    reader->event();
    try {
        reader->handler_->text(std::string_view(text, static_cast<std::size_t>(length)));
    } catch (...) {
        reader->pending_ = std::current_exception();
        XML_StopParser(reader->parser_, XML_FALSE);
    }
}

void XmlReader::onDoctype(void* self, const char*, const char*, const char*, int) {
    auto* reader = static_cast<XmlReader*>(self);
    reader->doctype_ = true;
    XML_StopParser(reader->parser_, XML_FALSE);
}

void XmlReader::parse(XmlHandler& handler) {
    handler_ = &handler;
    std::uint64_t fed = 0;
    for (;;) {
        if (cancelled_ != nullptr && cancelled_->load(std::memory_order_relaxed)) {
            throw ConversionCancelled();
        }
        void* buffer = XML_GetBuffer(parser_, kBlock);
        if (buffer == nullptr) {
            throw std::bad_alloc();
        }
        const std::size_t got = entry_.read(static_cast<char*>(buffer), kBlock);
        fed += got;
        const XML_Status status = XML_ParseBuffer(parser_, static_cast<int>(got), got == 0);
        if (pending_) {
            std::rethrow_exception(std::exchange(pending_, nullptr));
        }
        if (doctype_) {
            failed("la parte " + entry_.name() + " dichiara un tipo di documento (DTD), che un " +
                   "foglio di calcolo non ha");
        }
        if (status != XML_STATUS_OK) {
            failed("XML non valido nella parte " + entry_.name() + " al byte " +
                   std::to_string(offset()));
        }
        if (got == 0 || handler.done()) {
            return;
        }
        if (fed - lastEvent_ > kMaximumToken) {
            failed("la parte " + entry_.name() + " ha un elemento XML di oltre 16 MB");
        }
    }
}

} // namespace lists
