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
    return sembraUnIBAN(vista(testo.toUtf8()));
}

} // namespace verifier
