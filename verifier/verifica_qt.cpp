#include "verifica_qt.h"

#include <QByteArray>

namespace verifier {
namespace {

std::string_view vista(const QByteArray& utf8) {
    return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

} // namespace

Risultato verifica(QStringView testo) {
    return verifica(vista(testo.toUtf8()));
}

bool sembraUnIBAN(QStringView testo) {
    // Each UTF-16 unit takes a byte of UTF-8 at least: a text too long is refused unconverted.
    if (static_cast<std::size_t>(testo.size()) > kSembraMassimo) {
        return false;
    }
    return sembraUnIBAN(vista(testo.toUtf8()));
}

} // namespace verifier
