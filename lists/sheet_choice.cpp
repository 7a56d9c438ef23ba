#include "sheet_choice.h"

#include "conversion_error.h"

#include <algorithm>

namespace lists {

int SheetChoice::pick(const std::vector<std::string>& names) const {
    if (names.empty()) {
        return -1;
    }
    if (wanted_.empty()) {
        return 0;
    }
    if (const auto it = std::find(names.begin(), names.end(), wanted_); it != names.end()) {
        return static_cast<int>(it - names.begin());
    }
    if (wanted_.size() <= 5 &&
        std::all_of(wanted_.begin(), wanted_.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int position = std::stoi(wanted_);
        if (position >= 1 && position <= static_cast<int>(names.size())) {
            return position - 1;
        }
    }
    return -1;
}

void SheetChoice::missing(const std::string& fileName,
                          const std::vector<std::string>& names) const {
    if (names.empty()) {
        throw ConversionError("Il file " + fileName +
                              " non è un foglio di calcolo leggibile: non contiene fogli.");
    }
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "«" : ", «") + name + "»";
    }
    throw ConversionError("Il file " + fileName + " non ha il foglio «" + wanted_ +
                          "»: i suoi fogli sono " + list + ".");
}

} // namespace lists
