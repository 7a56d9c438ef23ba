#pragma once

#include <QString>

namespace Module1 {

// The folder part of a path: everything up to and including its last ":" or "\" (a forward
// slash is not a separator here). Empty when the path has no separator or begins with ":".
QString CartellaDelPercorso(const QString& path);

} // namespace Module1
