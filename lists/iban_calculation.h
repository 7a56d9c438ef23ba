#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lists {

// The Calculate command's computation on three fields of a row, through the engine: the same
// rules, padding and refusals as when they are typed into the window's fields. As the fields
// do, it first drops the spaces around each value; the engine then pads ABI and CAB to five
// digits and the account to twelve, which restores the zeros a spreadsheet dropped. Plain ASCII
// goes through the engine's byte entry point, with nothing allocated.
class IbanCalculation {
public:
    // True with iban() set, or false with reason() set to the command's warning.
    bool calculate(std::string_view abi, std::string_view cab, std::string_view conto);

    std::string_view iban() const { return {iban_.data(), iban_.size()}; }
    const std::string& reason() const { return reason_; }

private:
    std::array<char, 27> iban_{};
    std::string reason_;
};

} // namespace lists
