#pragma once

#include <string>
#include <string_view>

namespace cli {

// Text from the input, written back so that it cannot break the output: bytes that are not
// UTF-8 become U+FFFD. In a JSON string quotes, backslashes and control characters are escaped;
// in plain text control characters (tabs among them, which separate the columns) become U+FFFD.
void aggiungiStringaJson(std::string_view testo, std::string& uscita);
void aggiungiTestoPiano(std::string_view testo, std::string& uscita);

} // namespace cli
