#include "testi.h"

#include "utf8.h"

#include <charconv>

namespace verifier {
namespace {

void numero(std::uint32_t n, std::string& uscita) {
    char cifre[16];
    const auto fine = std::to_chars(cifre, cifre + sizeof cifre, n).ptr;
    uscita.append(cifre, fine);
}

void esadecimale(std::uint32_t n, int cifre, std::string& uscita) {
    constexpr char kCifre[] = "0123456789ABCDEF";
    for (int k = cifre - 1; k >= 0; --k) {
        uscita += kCifre[(n >> (4 * k)) & 0xF];
    }
}

// Control and format characters show nothing between quotes: they are named by code alone.
bool visibile(char32_t c) {
    return c > 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0xA0) && c != 0xAD &&
           !(c >= 0x2000 && c <= 0x200F) && !(c >= 0x2028 && c <= 0x202F) &&
           !(c >= 0x205F && c <= 0x206F) && c != 0x3000 && !(c >= 0xFFF0 && c <= 0xFFFF) &&
           !(c >= 0xE000 && c <= 0xF8FF);
}

void tra(std::string_view testo, std::string& uscita) {
    uscita += "«";
    uscita += testo;
    uscita += "»";
}

void carattere(const Rifiuto& rifiuto, std::string& uscita) {
    if (rifiuto.byteNonValido) {
        uscita += "Il byte 0x";
        esadecimale(rifiuto.carattere, 2, uscita);
        uscita += " in posizione ";
        numero(rifiuto.posizione, uscita);
        uscita += " non è testo UTF-8 valido.";
        return;
    }
    if (rifiuto.fuoriPosto) {
        if (rifiuto.carattere == ':') {
            uscita += "I due punti in posizione ";
            numero(rifiuto.posizione, uscita);
            uscita += " possono seguire soltanto la parola IBAN.";
            return;
        }
        uscita += rifiuto.carattere == '-' ? "Il trattino" : "Il punto";
        uscita += " in posizione ";
        numero(rifiuto.posizione, uscita);
        uscita += " non sta tra due gruppi di caratteri.";
        return;
    }
    uscita += "Il carattere ";
    if (visibile(rifiuto.carattere)) {
        uscita += "«";
        utf8::aggiungi(rifiuto.carattere, uscita);
        uscita += "»";
        if (rifiuto.carattere >= 0x80) {
            uscita += " (U+";
            esadecimale(rifiuto.carattere, rifiuto.carattere > 0xFFFF ? 5 : 4, uscita);
            uscita += ')';
        }
    } else {
        uscita += "U+";
        esadecimale(rifiuto.carattere, rifiuto.carattere > 0xFFFF ? 5 : 4, uscita);
    }
    uscita += " in posizione ";
    numero(rifiuto.posizione, uscita);
    uscita += " non può stare in un IBAN.";
}

// The field of an Italian IBAN that a place belongs to (from 3; the country is checked apart).
const char* campo(std::uint32_t posizione) {
    if (posizione <= 4) {
        return "è una delle cifre di controllo";
    }
    if (posizione == 5) {
        return "è il CIN";
    }
    return posizione <= 10 ? "fa parte del codice ABI" : "fa parte del codice CAB";
}

void struttura(const Risultato& r, std::string& uscita) {
    const std::uint32_t posizione = r.struttura.posizione;
    uscita += "Il carattere ";
    numero(posizione, uscita);
    uscita += " (";
    tra(std::string_view(r.elettronico).substr(posizione - 1, 1), uscita);
    uscita += ") dovrebbe essere ";
    uscita += r.struttura.atteso == Tipo::Cifra ? "una cifra: " : "una lettera: ";
    uscita += campo(posizione);
    uscita += '.';
}

void controllo(const Risultato& r, std::string& uscita) {
    if (!r.controlloGiusto()) {
        uscita += "Le cifre di controllo sono ";
        uscita.append(r.controlloIndicato, 2);
        uscita += ", ma dovrebbero essere ";
        uscita.append(r.controlloAtteso, 2);
        uscita += '.';
    }
    if (!r.cinGiusto()) {
        if (!r.controlloGiusto()) {
            uscita += ' ';
        }
        uscita += "Il CIN è ";
        uscita += r.cinIndicato;
        uscita += ", ma per ABI, CAB e conto dovrebbe essere ";
        uscita += r.cinAtteso;
        uscita += '.';
        if (r.controlloGiusto()) {
            uscita += " Le cifre di controllo tornano: l'errore si vede solo dal CIN.";
        }
    }
}

} // namespace

void aggiungiMotivo(const Risultato& r, std::string& uscita) {
    switch (r.esito) {
    case Esito::Valido:
        return;
    case Esito::Vuoto:
        uscita += "Nessun IBAN da verificare: il testo è vuoto.";
        return;
    case Esito::CarattereNonAmmesso:
        carattere(r.rifiuto, uscita);
        return;
    case Esito::PaeseNonLettere:
        uscita += "Un IBAN comincia con le due lettere del paese, non con ";
        tra(std::string_view(r.elettronico).substr(0, 2), uscita);
        uscita += '.';
        return;
    case Esito::PaeseSconosciuto:
        tra(std::string_view(r.elettronico).substr(0, 2), uscita);
        uscita += " non è la sigla di un paese che usa l'IBAN.";
        return;
    case Esito::Lunghezza:
        uscita += "Gli IBAN di ";
        uscita += r.paese();
        uscita += " hanno ";
        numero(static_cast<std::uint32_t>(r.lunghezzaAttesa), uscita);
        uscita += " caratteri, questo ne ha ";
        numero(static_cast<std::uint32_t>(r.elettronico.size()), uscita);
        uscita += '.';
        return;
    case Esito::Struttura:
        struttura(r, uscita);
        return;
    case Esito::Controllo:
        controllo(r, uscita);
        return;
    }
}

std::string motivo(const Risultato& r) {
    std::string uscita;
    aggiungiMotivo(r, uscita);
    return uscita;
}

void aggiungiNota(const Risultato& r, std::string& uscita) {
    if (r.valido() && !r.bbanItaliano) {
        uscita += "Controllati lunghezza e cifre di controllo; il formato nazionale di ";
        uscita += r.paese();
        uscita += " non è stato controllato.";
    }
}

std::string nota(const Risultato& r) {
    std::string uscita;
    aggiungiNota(r, uscita);
    return uscita;
}

} // namespace verifier
