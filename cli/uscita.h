#pragma once

#include <string>

namespace cli {

// Standard output written in large pieces: results collect in a buffer, which goes out when it
// is full, when the caller is about to wait for input, and at the end. On a terminal each line
// goes out at once, for the person reading it.
class Uscita {
public:
    Uscita();

    // Where the next line is written; it is not to be cleared.
    std::string& testo() { return buffer; }

    // After each line.
    void fineRiga() {
        if (rigaPerRiga || buffer.size() >= kSoglia) {
            svuota();
        }
    }

    // Writes out what the buffer holds. After a failed write nothing more is written.
    void svuota();

    // Whether a write has failed (the reader has gone, the disk is full): the work that feeds
    // the output can stop.
    bool interrotta() const { return fallita; }

    // Ends the output: writes the rest and returns kErrore, with the reason on standard error,
    // if any write failed; otherwise `stato`.
    int chiudi(int stato);

private:
    static constexpr std::size_t kSoglia = 64 * 1024;

    std::string buffer;
    bool rigaPerRiga;
    bool fallita = false;
    std::string errore;
};

} // namespace cli
