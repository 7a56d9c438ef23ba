#pragma once

#include "conversion_error.h"

#include <orcus/parser_base.hpp>
#include <orcus/sax_parser.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lists {

// A workbook's zip package, read with liborcus, and its XML parts parsed with liborcus's SAX
// parser. Failures become ConversionErrors that name the file.
class ZipPackage {
public:
    ZipPackage(const std::filesystem::path& path, std::string fileName);
    ~ZipPackage();

    bool has(std::string_view entry) const;
    // The entry's bytes, uncompressed; a missing entry is a file that is not a workbook.
    std::vector<unsigned char> read(std::string_view entry) const;

    const std::string& fileName() const { return fileName_; }
    [[noreturn]] void unreadable(const std::string& why) const;

    // Parses an XML part with `handler` (orcus's sax_handler interface). Exceptions of the
    // handler itself pass through; a failure of the XML names the row read last, if given.
    template <typename Handler>
    void parse(const std::vector<unsigned char>& xml, Handler& handler,
               const std::uint64_t* rowsRead = nullptr) const {
        try {
            orcus::sax_parser<Handler> parser(reinterpret_cast<const char*>(xml.data()), xml.size(),
                                              handler);
            parser.parse();
        } catch (const orcus::parse_error& error) {
            std::string why = "XML non valido al byte " + std::to_string(error.offset());
            if (rowsRead != nullptr) {
                why += ", dopo la riga " + std::to_string(*rowsRead);
            }
            unreadable(why);
        }
    }

private:
    std::string fileName_;
    std::unique_ptr<orcus::zip_archive_stream> stream_;
    std::unique_ptr<orcus::zip_archive> archive_;
};

} // namespace lists
