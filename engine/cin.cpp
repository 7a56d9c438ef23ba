#include "cin.h"

#include "alfabeti.h"
#include "module1.h"

#include <array>

namespace Module1 {
namespace {

using namespace alfabeti;

constexpr int kLunghezzaABI = 5;
constexpr int kLunghezzaCAB = 5;
constexpr int kLunghezzaConto = 12;
static_assert(kLunghezzaABI + kLunghezzaCAB + kLunghezzaConto == kCaratteriCIN);

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
    return cin::letteraAllineata(allineati.utf16());
}

QString CalcolaCIN(const QString& abi, const QString& cab, const QString& conto) {
    return QString(QChar(letteraCIN(abi, cab, conto)));
}

} // namespace Module1
