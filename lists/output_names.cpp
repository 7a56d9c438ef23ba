#include "conversion.h"

#include "file_names.h"

namespace lists {

std::string lowerExtension(const std::filesystem::path& path) {
    std::string extension = displayName(path.extension());
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

std::filesystem::path defaultOutput(const std::filesystem::path& input) {
    if (input == "-") {
        return "-";
    }
    const std::string extension = lowerExtension(input);
    std::filesystem::path added = ".csv";
    if (extension == ".xlsx" || extension == ".xlsm" || extension == ".ods") {
        added = ".xlsx";
    } else if (extension == ".tsv" || extension == ".txt") {
        added = input.extension();
    }
    // Joined as paths: a name outside Windows's ANSI code page has no narrow string there.
    std::filesystem::path name = input.stem();
    name += "-IBAN";
    name += added;
    std::filesystem::path output = input;
    output.replace_filename(name);
    return output;
}

std::filesystem::path numberedName(const std::filesystem::path& wanted, int number) {
    std::filesystem::path name = wanted.stem();
    name += " (" + std::to_string(number) + ")";
    name += wanted.extension();
    std::filesystem::path numbered = wanted;
    numbered.replace_filename(name);
    return numbered;
}

} // namespace lists
