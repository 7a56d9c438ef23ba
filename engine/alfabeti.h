#pragma once

#include "caratteri.h"

#include <QString>
#include <QStringView>

#include <algorithm>

namespace Module1::alfabeti {

// True when upper-casing would leave `testo` as it is: callers skip maiuscolo and its copy then.
// Only plain ASCII is judged here (some other characters become A-Z letters); anything else
// answers false, for maiuscolo to decide.
inline bool giaMaiuscolo(QStringView testo) {
    return std::all_of(testo.cbegin(), testo.cend(),
                       [](QChar c) { return c.unicode() < 0x80 && !(c >= u'a' && c <= u'z'); });
}

// `testo` upper-cased one character at a time, one to one, as Windows did: "ß" stays "ß" instead
// of becoming "SS", so that no letter the user did not type can reach an account. A character
// whose upper case is not a single character of the same width stays as it is.
QString maiuscolo(QStringView testo);

} // namespace Module1::alfabeti
