#include "conversion.h"

#include "output_file.h"

namespace lists {

std::string lowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
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
    std::string added = ".csv";
    if (extension == ".xlsx" || extension == ".xlsm" || extension == ".ods") {
        added = ".xlsx";
    } else if (extension == ".tsv" || extension == ".txt") {
        added = input.extension().string();
    }
    std::filesystem::path output = input;
    output.replace_filename(input.stem().string() + "-IBAN" + added);
    return output;
}

std::filesystem::path freeOutput(const std::filesystem::path& wanted) {
    if (!pathExists(wanted)) {
        return wanted;
    }
    for (int n = 2;; ++n) {
        std::filesystem::path candidate = wanted;
        candidate.replace_filename(wanted.stem().string() + " (" + std::to_string(n) + ")" +
                                   wanted.extension().string());
        if (!pathExists(candidate)) {
            return candidate;
        }
    }
}

} // namespace lists
