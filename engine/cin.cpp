#include "cin.h"

#include "alfabeti.h"
#include "module1.h"

#include <array>

namespace Module1 {
namespace {

using namespace alfabeti;

// Italian CIN values for odd positions, by character index (0-9 digits, A-Z 0-25).
// Even positions take the index itself.
constexpr std::array<std::uint8_t, 26> kValoriDispari = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

constexpr int kLunghezzaABI = 5;
constexpr int kLunghezzaCAB = 5;
constexpr int kLunghezzaConto = 12;
static_assert(kLunghezzaABI + kLunghezzaCAB + kLunghezzaConto == kCaratteriCIN);

int indice(char16_t c) {
    return isCifra(c) ? c - u'0' : c - u'A';
}

// Fills `campo` from the right with the last kept characters of `testo`; the rest keeps its
// "0". The same as keeping them in order, padding with zeros and taking the last `larghezza`.
template <typename Tieni>
void riempiDaDestra(QStringView testo, char16_t* campo, int larghezza, Tieni tieni) {
    int libero = larghezza;
    for (auto it = testo.crbegin(); it != testo.crend() && libero > 0; ++it) {
        const char16_t c = it->unicode();
        if (tieni(c)) {
            campo[--libero] = c;
        }
    }
}

} // namespace

char16_t letteraCIN(QStringView abi, QStringView cab, QStringView conto) {
    std::array<char16_t, kCaratteriCIN> allineati;
    allineati.fill(u'0');
    riempiDaDestra(abi, allineati.data(), kLunghezzaABI, isCifra);
    riempiDaDestra(cab, allineati.data() + kLunghezzaABI, kLunghezzaCAB, isCifra);
    riempiDaDestra(conto, allineati.data() + kLunghezzaABI + kLunghezzaCAB, kLunghezzaConto,
                   isAlfanumerico);
    return letteraCINAllineata(QStringView(allineati.data(), allineati.size()));
}

char16_t letteraCINAllineata(QStringView allineati) {
    int somma = 0;
    for (qsizetype k = 0; k < kCaratteriCIN; k += 2) {
        // Positions count from 1: k is an odd position, k + 1 an even one.
        somma +=
            kValoriDispari[indice(allineati[k].unicode())] + indice(allineati[k + 1].unicode());
    }
    return static_cast<char16_t>(u'A' + somma % 26);
}

QString CalcolaCIN(const QString& abi, const QString& cab, const QString& conto) {
    return QString(QChar(letteraCIN(abi, cab, conto)));
}

} // namespace Module1
