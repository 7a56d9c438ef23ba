#include "suggerimenti.h"

#include "cin_tabelle.h"
#include "mod97.h"
#include "paesi.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace verifier {
namespace {

namespace mod97 = Module1::mod97;
namespace cin = Module1::cin;
using Module1::alfabeti::unita;

constexpr int kLunghezza = Suggerimenti::kLunghezza;
constexpr int kPrefisso = 4;             // country and check digits, read last
constexpr int kPrimoCIN = 5;             // the first of the 22 characters the CIN is made of
constexpr int kMassima = kLunghezza + 1; // the longest text one slip away
constexpr int kValori = mod97::kValori;

// The kinds of character, as bits: a place allows one kind or both.
constexpr std::uint8_t kCifra = 1;
constexpr std::uint8_t kLettera = 2;

// What each place of an Italian IBAN allows (country, check digits, CIN, ABI and CAB, account),
// from the place before the first to the one after the last, which allow nothing.
constexpr std::array<std::uint8_t, kLunghezza + 2> kPermessi = [] {
    std::array<std::uint8_t, kLunghezza + 2> permessi{};
    for (int p = 0; p < kLunghezza; ++p) {
        const bool lettera = p == 0 || p == 1 || p == 4;
        permessi[p + 1] = p >= 15 ? kCifra | kLettera : lettera ? kLettera : kCifra;
    }
    return permessi;
}();

// The same as masks of places (bit p for place p): where digits may stand, where letters may.
constexpr std::uint32_t maschera(std::uint8_t tipo) {
    std::uint32_t bit = 0;
    for (int p = 0; p < kLunghezza; ++p) {
        if (kPermessi[p + 1] & tipo) {
            bit |= std::uint32_t(1) << p;
        }
    }
    return bit;
}
constexpr std::uint32_t kPostiCifra = maschera(kCifra);
constexpr std::uint32_t kPostiLettera = maschera(kLettera);

// Whether a character of value `v` (mod97::valore) may stand at place `p`, from -1 to
// kLunghezza.
constexpr bool staValore(int v, int p) {
    return (kPermessi[p + 1] & (v < 10 ? kCifra : kLettera)) != 0;
}

constexpr bool sta(char c, int p) {
    return staValore(mod97::valore(unita(c)), p);
}

// What each character adds to the CIN's sum at each place, from -1 to kLunghezza (nothing
// outside the 22 places the CIN is made of).
constexpr std::array<std::array<std::int8_t, kValori>, kLunghezza + 2> kContributi = [] {
    std::array<std::array<std::int8_t, kValori>, kLunghezza + 2> contributi{};
    for (int p = kPrimoCIN; p < kLunghezza; ++p) {
        for (int v = 0; v < kValori; ++v) {
            const char16_t c = static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10);
            contributi[p + 1][v] = static_cast<std::int8_t>(cin::contributo(p - kPrimoCIN, c));
        }
    }
    return contributi;
}();

constexpr int contributo(int p, char c) {
    return kContributi[p + 1][mod97::valore(unita(c))];
}

// For each place the CIN is made of and each amount (0 to 51, taken modulo 26) that the CIN's
// sum lacks there: the digit and the letter that add it (0 when none does). A digit and a
// letter of the same index add the same.
constexpr auto kPerCIN = [] {
    std::array<std::array<mod97::Soluzioni, 52>, kLunghezza> perCIN{};
    for (int p = kPrimoCIN; p < kLunghezza; ++p) {
        for (int v = 0; v < kValori; ++v) {
            const int manca = kContributi[p + 1][v] % 26;
            for (const int m : {manca, manca + 26}) {
                if (v < 10) {
                    perCIN[p][m].cifra = static_cast<char>('0' + v);
                } else {
                    perCIN[p][m].lettera = static_cast<char>('A' + v - 10);
                }
            }
        }
    }
    return perCIN;
}();

// Of the characters that MOD 97-10 asks for at place `p` (past the CIN), those that also add
// what the CIN's sum lacks: a few comparisons, without a branch on either test alone.
constexpr mod97::Soluzioni concordi(mod97::Soluzioni mod, int p, int manca) {
    const mod97::Soluzioni cin = kPerCIN[p][manca];
    return {mod.cifra == cin.cifra ? mod.cifra : char(0),
            mod.lettera == cin.lettera ? mod.lettera : char(0)};
}

enum class Svista : std::uint8_t { Cambio, Scambio, Mancante, InPiu };

// A candidate: the text with one slip undone. Cambio puts `x` at `i`; Scambio swaps `i` and
// `i + 1`; Mancante inserts `x` before `i`; InPiu drops `i`.
struct Candidato {
    Svista svista;
    int i;
    char x;

    char at(const char* s, int p) const {
        switch (svista) {
        case Svista::Cambio:
            return p == i ? x : s[p];
        case Svista::Scambio:
            return p == i ? s[i + 1] : p == i + 1 ? s[i] : s[p];
        case Svista::Mancante:
            return p < i ? s[p] : p == i ? x : s[p - 1];
        case Svista::InPiu:
            return p < i ? s[p] : s[p + 1];
        }
        return s[p];
    }
};

// The characters x (at most a digit and a letter) that, read after the remainder `prima`, leave
// the remainder `serve`.
int risolvi(unsigned prima, unsigned serve, std::array<char, 2>& x) {
    const mod97::Soluzioni soluzioni = mod97::kSoluzioni[prima][serve];
    int trovati = 0;
    if (soluzioni.cifra != 0) {
        x[trovati++] = soluzioni.cifra;
    }
    if (soluzioni.lettera != 0) {
        x[trovati++] = soluzioni.lettera;
    }
    return trovati;
}

// Whether country and check digits are right: IT or SM, and check digits from 02 to 98.
bool prefissoGiusto(char paese0, char paese1, char controllo0, char controllo1) {
    const int controllo = (controllo0 - '0') * 10 + (controllo1 - '0');
    return bbanItaliano(paese0, paese1) && controllo >= 2 && controllo <= 98;
}

class Ricerca {
public:
    Ricerca(std::string_view testo, Suggerimenti& suggerimenti, int massimo);
    void cerca();

private:
    void cambi();
    void scambi();
    void inPiu();
    void mancanti();
    void prova(const Candidato& candidato, int sommaCIN);
    void aggiungi(const Candidato& candidato);

    // The place of s[p] when the text is read for MOD 97-10: the first four characters last.
    int letto(int p) const { return p >= kPrefisso ? p - kPrefisso : n - kPrefisso + p; }
    unsigned avanti(unsigned resto, const Candidato& candidato, int da, int a) const;
    unsigned indietro(unsigned resto, const Candidato& candidato, int da, int a) const;
    unsigned restoDi(const Candidato& candidato) const;

    const char* s;
    int n;
    // Where the characters after a slip go in a candidate: one place to the left when one is
    // extra, one to the right when one is missing, nowhere when the length is right.
    int spostamento;
    Suggerimenti& trovati;
    int massimo;
    bool oltre = false; // a distinct candidate beyond the maximum was found

    // The values (mod97::valore) of the text's characters, each looked up once.
    std::array<std::uint8_t, kMassima> valori{};
    // Over the text as MOD 97-10 reads it (q): the remainder of q[0..k), and the remainder that
    // must stand before q[k..n) for the whole to leave 1.
    std::array<std::uint8_t, kMassima + 1> restoPrima{};
    std::array<std::uint8_t, kMassima + 1> serveDopo{};
    // s[0..k) fit their own places for k up to giustiFinoA; s[k..n) fit theirs once moved for k
    // from giustiDa on. The CIN's sums of s[0..k) in their own places, and moved.
    int giustiFinoA = 0;
    int giustiDa = 0;
    std::array<std::int16_t, kMassima + 1> cinPrima{};
    std::array<std::int16_t, kMassima + 1> cinSpostati{};
    bool prefissoDelTesto; // the text's own country and check digits are right
};

Ricerca::Ricerca(std::string_view testo, Suggerimenti& suggerimenti, int massimo)
    : s(testo.data()), n(static_cast<int>(testo.size())), spostamento(kLunghezza - n),
      trovati(suggerimenti), massimo(massimo) {
    std::array<std::uint8_t, kMassima> letti; // the values in the order MOD 97-10 reads them
    std::uint32_t cifre = 0;                  // bit p: s[p] is a digit
    for (int p = 0; p < n; ++p) {
        valori[p] = static_cast<std::uint8_t>(mod97::valore(unita(s[p])));
        cifre |= std::uint32_t(valori[p] < 10) << p;
        letti[letto(p)] = valori[p];
        cinPrima[p + 1] = static_cast<std::int16_t>(cinPrima[p] + kContributi[p + 1][valori[p]]);
    }
    serveDopo[n] = 1;
    for (int k = 0; k < n; ++k) {
        restoPrima[k + 1] = mod97::kAvanti[restoPrima[k]][letti[k]];
        serveDopo[n - 1 - k] = mod97::kIndietro[serveDopo[n - k]][letti[n - 1 - k]];
    }
    if (spostamento != 0) {
        for (int p = 0; p < n; ++p) {
            cinSpostati[p + 1] = static_cast<std::int16_t>(
                cinSpostati[p] + kContributi[p + spostamento + 1][valori[p]]);
        }
    }
    // The places of the digits, in their own places and moved; a moved character that leaves
    // the IBAN's places fits nowhere.
    const std::uint32_t tutti = (std::uint32_t(1) << n) - 1;
    const std::uint32_t posti = (std::uint32_t(1) << kLunghezza) - 1;
    const auto fuoriPosto = [](std::uint32_t cifre, std::uint32_t lettere) {
        return (cifre & ~kPostiCifra) | (lettere & ~kPostiLettera);
    };
    const std::uint32_t sbagliati = fuoriPosto(cifre, tutti & ~cifre) | (tutti & ~posti);
    giustiFinoA = sbagliati == 0 ? n : std::countr_zero(sbagliati);
    std::uint32_t sbagliatiSpostati = sbagliati;
    if (spostamento < 0) {
        // In original places: a character at p stands at p - 1; the first one falls out.
        sbagliatiSpostati = (fuoriPosto(cifre >> 1, (tutti & ~cifre) >> 1) << 1) | 1;
    } else if (spostamento > 0) {
        sbagliatiSpostati = fuoriPosto(cifre << 1, (tutti & ~cifre) << 1) >> 1;
    }
    giustiDa = std::bit_width(sbagliatiSpostati);
    prefissoDelTesto = prefissoGiusto(s[0], s[1], s[2], s[3]);
}

void Ricerca::cerca() {
    switch (spostamento) {
    case 0:
        cambi();
        scambi();
        break;
    case -1:
        inPiu();
        break;
    case 1:
        mancanti();
        break;
    default:
        return;
    }
    if (oltre) {
        trovati.numero = 0;
        trovati.troppi = true;
    }
}

// The remainder after reading the candidate's places [da, a) from `resto`, and the one that
// must stand before them for `resto` to stand after; none of them an unknown character.
unsigned Ricerca::avanti(unsigned resto, const Candidato& candidato, int da, int a) const {
    for (int p = da; p < a; ++p) {
        resto = mod97::avanti(resto, candidato.at(s, p));
    }
    return resto;
}

unsigned Ricerca::indietro(unsigned resto, const Candidato& candidato, int da, int a) const {
    for (int p = a - 1; p >= da; --p) {
        resto = mod97::indietro(resto, candidato.at(s, p));
    }
    return resto;
}

// The remainder of a whole candidate, read from its fifth character and then its first four.
unsigned Ricerca::restoDi(const Candidato& candidato) const {
    return avanti(avanti(0, candidato, kPrefisso, kLunghezza), candidato, 0, kPrefisso);
}

// Only places from which both sides fit their places are worth trying: the ranges below.
// Past the CIN, the text's own CIN letter stays: what its sum lacks picks the candidates.
void Ricerca::cambi() {
    const int sommaCIN = cinPrima[n];
    const int ultimo = std::min(n - 1, giustiFinoA);
    int i = std::max(0, giustiDa - 1);
    for (; i <= std::min(ultimo, kPrimoCIN - 1); ++i) {
        const int k = letto(i);
        std::array<char, 2> x;
        const int quanti = risolvi(restoPrima[k], serveDopo[k + 1], x);
        for (int j = 0; j < quanti; ++j) {
            if (x[j] != s[i] && sta(x[j], i)) {
                prova({Svista::Cambio, i, x[j]},
                      sommaCIN - kContributi[i + 1][valori[i]] + contributo(i, x[j]));
            }
        }
    }
    if (!prefissoDelTesto) {
        return;
    }
    const int mancaAlTesto = ((s[kPrimoCIN - 1] - 'A' - sommaCIN) % 26 + 26) % 26;
    for (; i <= ultimo; ++i) {
        const int k = i - kPrefisso;
        const mod97::Soluzioni x = concordi(mod97::kSoluzioni[restoPrima[k]][serveDopo[k + 1]], i,
                                            mancaAlTesto + kContributi[i + 1][valori[i]]);
        if ((x.cifra | x.lettera) == 0) {
            continue;
        }
        for (const char c : {x.cifra, x.lettera}) {
            if (c != 0 && c != s[i] && sta(c, i)) {
                aggiungi({Svista::Cambio, i, c});
            }
        }
    }
}

void Ricerca::scambi() {
    const int sommaCIN = cinPrima[n];
    for (int i = std::max(0, giustiDa - 2); i <= std::min(n - 2, giustiFinoA); ++i) {
        const char a = s[i];
        const char b = s[i + 1];
        if (a == b || !staValore(valori[i + 1], i) || !staValore(valori[i], i + 1)) {
            continue;
        }
        const Candidato candidato{Svista::Scambio, i, 0};
        bool giusto;
        if (i + 1 == kPrefisso) {
            // The two lie at the two ends of the text as MOD 97-10 reads it.
            giusto = restoDi(candidato) == 1;
        } else {
            const int k = letto(i);
            giusto = mod97::kAvanti[mod97::kAvanti[restoPrima[k]][valori[i + 1]]][valori[i]] ==
                     serveDopo[k + 2];
        }
        if (giusto) {
            prova(candidato, sommaCIN - contributo(i, a) - contributo(i + 1, b) + contributo(i, b) +
                                 contributo(i + 1, a));
        }
    }
}

void Ricerca::inPiu() {
    for (int i = std::max(0, giustiDa - 1); i <= std::min(n - 1, giustiFinoA); ++i) {
        const Candidato candidato{Svista::InPiu, i, 0};
        // Dropping one of the first four brings the fifth among them: read it all again.
        const bool giusto = i < kPrefisso ? restoDi(candidato) == 1
                                          : restoPrima[letto(i)] == serveDopo[letto(i) + 1];
        if (giusto) {
            prova(candidato, cinPrima[i] + cinSpostati[n] - cinSpostati[i + 1]);
        }
    }
}

void Ricerca::mancanti() {
    const int ultimo = std::min(n, giustiFinoA);
    int i = giustiDa;
    for (; i <= std::min(ultimo, kPrimoCIN - 1); ++i) {
        std::array<char, 2> x;
        int quanti;
        if (i >= kPrefisso) {
            quanti = risolvi(restoPrima[letto(i)], serveDopo[letto(i)], x);
        } else {
            // The missing one is among the first four, which push the fourth one out of them.
            const Candidato intorno{Svista::Mancante, i, 0};
            const unsigned prima = avanti(avanti(0, intorno, kPrefisso, kLunghezza), intorno, 0, i);
            quanti = risolvi(prima, indietro(1, intorno, i + 1, kPrefisso), x);
        }
        for (int j = 0; j < quanti; ++j) {
            if (sta(x[j], i)) {
                prova({Svista::Mancante, i, x[j]},
                      cinPrima[i] + contributo(i, x[j]) + cinSpostati[n] - cinSpostati[i]);
            }
        }
    }
    if (!prefissoDelTesto) {
        return;
    }
    // The sums are below 26 * 27: adding 26 * 27 keeps the remainder's argument positive.
    const int lettera = s[kPrimoCIN - 1] - 'A' + 26 * 27;
    for (; i <= ultimo; ++i) {
        const int k = i - kPrefisso;
        const int manca = (lettera - cinPrima[i] - cinSpostati[n] + cinSpostati[i]) % 26;
        const mod97::Soluzioni x =
            concordi(mod97::kSoluzioni[restoPrima[k]][serveDopo[k]], i, manca);
        if ((x.cifra | x.lettera) == 0) {
            continue;
        }
        for (const char c : {x.cifra, x.lettera}) {
            if (c != 0 && sta(c, i)) {
                aggiungi({Svista::Mancante, i, c});
            }
        }
    }
}

// The checks MOD 97-10 leaves: the country, the check digits' range, the CIN. A slip past the
// CIN leaves the first five characters as they are in the text.
void Ricerca::prova(const Candidato& candidato, int sommaCIN) {
    if (candidato.i >= kPrimoCIN) {
        if (prefissoDelTesto && cin::lettera(sommaCIN) == s[kPrimoCIN - 1]) {
            aggiungi(candidato);
        }
        return;
    }
    if (cin::lettera(sommaCIN) == candidato.at(s, kPrimoCIN - 1) &&
        prefissoGiusto(candidato.at(s, 0), candidato.at(s, 1), candidato.at(s, 2),
                       candidato.at(s, 3))) {
        aggiungi(candidato);
    }
}

void Ricerca::aggiungi(const Candidato& candidato) {
    std::array<char, kLunghezza> iban;
    const int i = candidato.i;
    switch (candidato.svista) {
    case Svista::Cambio:
        std::memcpy(iban.data(), s, kLunghezza);
        iban[i] = candidato.x;
        break;
    case Svista::Scambio:
        std::memcpy(iban.data(), s, kLunghezza);
        std::swap(iban[i], iban[i + 1]);
        break;
    case Svista::Mancante:
        std::memcpy(iban.data(), s, i);
        iban[i] = candidato.x;
        std::memcpy(iban.data() + i + 1, s + i, kLunghezza - 1 - i);
        break;
    case Svista::InPiu:
        std::memcpy(iban.data(), s, i);
        std::memcpy(iban.data() + i, s + i + 1, kLunghezza - i);
        break;
    }
    // Two slips can give the same IBAN: the same character missing before or after its twin.
    for (int k = 0; k < trovati.numero; ++k) {
        if (trovati.iban[k] == iban) {
            return;
        }
    }
    if (trovati.numero < massimo) {
        trovati.iban[trovati.numero++] = iban;
    } else {
        oltre = true;
    }
}

} // namespace

void suggerisci(std::string_view elettronico, Suggerimenti& suggerimenti, int massimo) {
    suggerimenti.numero = 0;
    suggerimenti.troppi = false;
    if (elettronico.size() + 1 < kLunghezza || elettronico.size() > kLunghezza + 1) {
        return;
    }
    Ricerca ricerca(elettronico, suggerimenti, std::min(massimo, Suggerimenti::kMassimo));
    ricerca.cerca();
}

} // namespace verifier
