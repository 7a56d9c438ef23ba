#pragma once

#include <QStringView>

namespace Module1 {

// The CIN letter itself, for callers that place it straight into a BBAN.
char16_t letteraCIN(QStringView abi, QStringView cab, QStringView conto);

} // namespace Module1
