#pragma once

#include <string>

// UTF-8 read and written one code point at a time.
namespace verifier::utf8 {

// The code point of the sequence at `p` (whose first byte is at least 0x80) and the sequence's
// length; 0 when the bytes there are no well-formed sequence (overlong forms and surrogates
// included).
int decodifica(const unsigned char* p, const unsigned char* fine, char32_t& codice);

// Writes the UTF-8 form of `codice` (at most 4 bytes) at `uscita`; returns the end.
char* scrivi(char32_t codice, char* uscita);

void aggiungi(char32_t codice, std::string& uscita);

// Characters that must never be written out as they are, since they show nothing or change how
// the text around them shows: controls, format characters (the bidirectional marks among them),
// line and paragraph separators, private-use and unassigned code points.
bool nascosto(char32_t codice);

// Characters that can be read on their own between quotes: not hidden, not a space, not a
// combining mark (which would sit on the quote) nor a filler that looks like a space.
bool leggibile(char32_t codice);

} // namespace verifier::utf8
