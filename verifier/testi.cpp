#include "testi.h"

#include "paesi.h"
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

void tra(std::string_view testo, std::string& uscita) {
    uscita += "«";
    uscita += testo;
    uscita += "»";
}

void codice(char32_t c, std::string& uscita) {
    uscita += "U+";
    esadecimale(c, c > 0xFFFF ? 5 : 4, uscita);
}

void posizione(std::uint32_t n, std::string& uscita) {
    uscita += " in posizione ";
    numero(n, uscita);
}

void carattere(const Rifiuto& rifiuto, std::string& uscita) {
    if (rifiuto.byteNonValido) {
        uscita += "Il testo ha un byte non valido (0x";
        esadecimale(rifiuto.carattere, 2, uscita);
        uscita += ')';
        posizione(rifiuto.posizione, uscita);
        uscita += '.';
        return;
    }
    if (rifiuto.fuoriPosto) {
        if (rifiuto.carattere == ':') {
            uscita += "I due punti";
            posizione(rifiuto.posizione, uscita);
            uscita += " possono seguire soltanto la parola IBAN.";
            return;
        }
        uscita += rifiuto.carattere == '-' ? "Il trattino" : "Il punto";
        posizione(rifiuto.posizione, uscita);
        uscita += " non sta tra due gruppi di caratteri.";
        return;
    }
    // What shows nothing between quotes is named by its code alone.
    uscita += "Il carattere ";
    if (utf8::leggibile(rifiuto.carattere)) {
        uscita += "«";
        utf8::aggiungi(rifiuto.carattere, uscita);
        uscita += "»";
        if (rifiuto.carattere >= 0x80) {
            uscita += " (";
            codice(rifiuto.carattere, uscita);
            uscita += ')';
        }
    } else {
        codice(rifiuto.carattere, uscita);
    }
    posizione(rifiuto.posizione, uscita);
    uscita += " non può stare in un IBAN.";
}

// "gli IBAN italiani (IT)": the country of the IBAN, which is in the registry.
void paese(const Risultato& r, std::string& uscita) {
    const std::string_view codice = r.paese();
    uscita += "IBAN ";
    uscita += registrato(codice[0], codice[1])->nome;
    uscita += " (";
    uscita += codice;
    uscita += ')';
}

// The field of an IBAN that a place belongs to (from 2, the country being checked apart).
void campo(const Risultato& r, std::uint32_t indice, std::string& uscita) {
    if (indice < 4) {
        uscita += ": è una delle cifre di controllo.";
    } else if (!r.bbanItaliano) {
        uscita += ", come vuole il formato degli ";
        paese(r, uscita);
        uscita += '.';
    } else if (indice == 4) {
        uscita += ": è il CIN.";
    } else {
        uscita += indice < 10 ? ": fa parte del codice ABI." : ": fa parte del codice CAB.";
    }
}

void struttura(const Risultato& r, std::string& uscita) {
    uscita += "Il carattere ";
    tra(std::string_view(r.elettronico).substr(r.struttura.indice, 1), uscita);
    posizione(r.struttura.posizione, uscita);
    uscita += r.struttura.atteso == Tipo::Cifra ? " dovrebbe essere una cifra"
                                                : " dovrebbe essere una lettera";
    campo(r, r.struttura.indice, uscita);
}

// Whether every suggestion is `testo` with only the places [da, a) changed: the change that the
// reason would name is then the only slip that explains the text. Too many suggestions to list
// mean other slips.
bool soltantoQui(const Risultato& r, std::size_t da, std::size_t a) {
    if (r.suggerimenti.troppi) {
        return false;
    }
    const std::string_view e = r.elettronico;
    for (int i = 0; i < r.suggerimenti.numero; ++i) {
        const std::string_view s = r.suggerimenti[i];
        if (s.size() != e.size() || s.substr(0, da) != e.substr(0, da) ||
            s.substr(a) != e.substr(a)) {
            return false;
        }
    }
    return true;
}

void vediSuggerimenti(const Risultato& r, std::string& uscita) {
    if (r.suggerimenti.numero > 0) {
        uscita += " Controlla i suggerimenti.";
    }
}

// A value to type is named only when changing it alone makes the IBAN valid and no other slip
// explains the text as well: otherwise obeying could give the valid IBAN of another account.
void controllo(const Risultato& r, std::string& uscita) {
    constexpr std::size_t kCifre = 2;
    constexpr std::size_t kCIN = 4;
    const std::string_view indicate(r.controlloIndicato, 2);
    if (!r.bbanItaliano) {
        uscita += "Le cifre di controllo ";
        uscita += indicate;
        uscita += " non tornano con il resto dell'IBAN: è sbagliata una cifra di controllo o un "
                  "altro carattere.";
        return;
    }
    if (r.cinGiusto()) {
        if (soltantoQui(r, kCifre, kCifre + 2)) {
            uscita += "Le cifre di controllo sono ";
            uscita += indicate;
            uscita += ", ma dovrebbero essere ";
            uscita.append(r.controlloAtteso, 2);
            uscita += '.';
            return;
        }
        uscita += "Le cifre di controllo ";
        uscita += indicate;
        uscita += " non tornano con CIN, ABI, CAB e conto: possono essere sbagliate le cifre di "
                  "controllo, oppure ABI, CAB o il conto.";
    } else if (r.soloIlCIN) {
        if (soltantoQui(r, kCIN, kCIN + 1)) {
            uscita += "Il CIN è ";
            uscita += r.cinIndicato;
            uscita += ", ma per ABI, CAB e conto dovrebbe essere ";
            uscita += r.cinAtteso;
            uscita += '.';
            return;
        }
        uscita += "Il CIN ";
        uscita += r.cinIndicato;
        uscita += " non torna con ABI, CAB e conto: può essere sbagliato il CIN, oppure ABI, CAB "
                  "o il conto.";
    } else if (r.controlloGiusto()) {
        uscita += "Il CIN ";
        uscita += r.cinIndicato;
        uscita += " non torna con ABI, CAB e conto, anche se le cifre di controllo tornano: "
                  "probabilmente c'è un errore in ABI, CAB o nel conto.";
    } else {
        uscita += "Né il CIN né le cifre di controllo tornano con ABI, CAB e conto: probabilmente "
                  "c'è un errore di battitura in ABI, CAB o nel conto.";
    }
    vediSuggerimenti(r, uscita);
}

} // namespace

void aggiungiMotivo(const Risultato& r, std::string& uscita) {
    if (!r.parolaInPiu.empty()) {
        uscita += "La parola ";
        tra(r.parolaInPiu, uscita);
        uscita += " all'inizio non fa parte dell'IBAN.";
        return;
    }
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
        uscita += "Gli ";
        paese(r, uscita);
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
        uscita += "Controllati lunghezza, formato e cifre di controllo; gli eventuali controlli "
                  "nazionali degli ";
        paese(r, uscita);
        uscita += " non sono stati fatti.";
    }
}

std::string nota(const Risultato& r) {
    std::string uscita;
    aggiungiNota(r, uscita);
    return uscita;
}

} // namespace verifier
