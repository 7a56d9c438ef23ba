#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Standard input one line at a time, in a buffer of fixed size: a line is never held longer
// than kRigaMassima bytes, and memory does not grow with the input.
class LettoreRighe {
public:
    static constexpr std::size_t kRigaMassima = 64 * 1024;

    // `primaDiLeggere` runs before each read of standard input, which may wait: the caller
    // writes out its results there, so that they go as the input comes.
    explicit LettoreRighe(std::function<void()> primaDiLeggere);

    enum class Esito { Riga, Fine, Errore };

    // The next line, without its "\n" or "\r\n"; it stays valid until the next call. A longer
    // line gives its first kRigaMassima bytes and `troncata`; the rest of it is skipped.
    Esito leggi(std::string_view& riga, bool& troncata);

    // What went wrong, after Esito::Errore.
    const std::string& errore() const { return descrizione; }

private:
    bool riempi(); // reads more input after what is held; false at the end or on an error

    std::function<void()> primaDiLeggere;
    std::vector<char> buffer;
    std::size_t inizio = 0;  // the next line starts here
    std::size_t cercato = 0; // no "\n" between inizio and here
    std::size_t fine = 0;    // the input read so far ends here
    bool finito = false;
    bool salta = false; // skipping the rest of a line too long
    std::string descrizione;
};

} // namespace cli
