#include "input_kind.h"

#include "conversion.h"
#include "conversion_error.h"
#include "file_stream.h"
#include "zip_archive.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace lists {
namespace {

// Whether the compound file holds a stream of this name (its directory keeps names in
// UTF-16LE). Read in blocks, with an overlap the size of the name.
bool holdsStream(const std::filesystem::path& input, std::string_view name) {
    std::string wanted;
    for (const char c : name) {
        wanted += c;
        wanted += '\0';
    }
    std::FILE* file = shell::openFile(input, "rb");
    if (file == nullptr) {
        return false;
    }
    std::vector<char> block(1024 * 1024);
    std::size_t kept = 0;
    bool found = false;
    for (;;) {
        const std::size_t got = std::fread(block.data() + kept, 1, block.size() - kept, file);
        if (got == 0) {
            break;
        }
        const std::string_view seen(block.data(), kept + got);
        if (seen.find(wanted) != std::string_view::npos) {
            found = true;
            break;
        }
        kept = std::min(seen.size(), wanted.size());
        std::copy(seen.end() - static_cast<std::ptrdiff_t>(kept), seen.end(), block.begin());
    }
    std::fclose(file);
    return found;
}

} // namespace

InputKind inputKind(const std::filesystem::path& input, const std::string& name) {
    if (input == "-") {
        return InputKind::Text;
    }
    std::error_code error;
    if (!std::filesystem::exists(input, error)) {
        throw ConversionError("Il file " + name + " non esiste.");
    }
    if (std::filesystem::is_directory(input, error)) {
        throw ConversionError("Il file " + name + " è una cartella, non una tabella.");
    }
    if (!std::filesystem::is_regular_file(input, error)) {
        return InputKind::Text; // a pipe: its first bytes, once read, would be gone
    }
    std::array<unsigned char, 8> head{};
    if (std::FILE* file = shell::openFile(input, "rb")) {
        std::fread(head.data(), 1, head.size(), file);
        std::fclose(file);
    }
    constexpr std::array<unsigned char, 4> kZip = {'P', 'K', 3, 4};
    constexpr std::array<unsigned char, 8> kCompoundFile = {0xD0, 0xCF, 0x11, 0xE0,
                                                            0xA1, 0xB1, 0x1A, 0xE1};
    if (std::equal(kCompoundFile.begin(), kCompoundFile.end(), head.begin())) {
        if (holdsStream(input, "EncryptionInfo")) {
            throw ConversionError("Il file " + name +
                                  " è protetto da password: salvalo senza password e riprova.");
        }
        throw ConversionError("Il file " + name +
                              " è nel vecchio formato di Excel (.xls), che non so leggere: "
                              "salvalo come .xlsx o come CSV.");
    }
    if (!std::equal(kZip.begin(), kZip.end(), head.begin())) {
        return InputKind::Text;
    }
    const std::string extension = lowerExtension(input);
    if (extension == ".ods") {
        return InputKind::Ods;
    }
    if (extension == ".xlsx" || extension == ".xlsm") {
        return InputKind::Xlsx;
    }
    return ZipArchive(input, name).has("content.xml") ? InputKind::Ods : InputKind::Xlsx;
}

} // namespace lists
