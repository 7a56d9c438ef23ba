#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lists {

// Which sheet of a workbook to read: "" for the first, a number from 1, or a sheet's name (a
// name made of digits wins over the position when a sheet has it).
class SheetChoice {
public:
    explicit SheetChoice(std::string wanted) : wanted_(std::move(wanted)) {}

    // The first sheet, whatever the names: a reader need not know them before.
    bool first() const { return wanted_.empty(); }

    // Whether the sheet of this name is the wanted one by its name.
    bool named(const std::string& name) const { return name == wanted_; }

    // The position (from 0) of the wanted sheet among `names`, or -1.
    int pick(const std::vector<std::string>& names) const;

    // The failure for a workbook without the wanted sheet.
    [[noreturn]] void missing(const std::string& fileName,
                              const std::vector<std::string>& names) const;

private:
    std::string wanted_;
};

} // namespace lists
