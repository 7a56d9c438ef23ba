#pragma once

#include <string>
#include <string_view>

namespace cli {

// Text from the input, written back so that it cannot break the output: bytes that are not
// UTF-8 become U+FFFD. In a JSON string quotes, backslashes, controls and the characters that
// show nothing or change how the text around them shows (utf8::nascosto) are escaped, so that
// the text is kept exactly; in plain text controls (tabs among them, which separate the
// columns) and those characters become U+FFFD.
void aggiungiStringaJson(std::string_view testo, std::string& uscita);
void aggiungiTestoPiano(std::string_view testo, std::string& uscita);

} // namespace cli
