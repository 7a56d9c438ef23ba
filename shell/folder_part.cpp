#include "folder_part.h"

#include <algorithm>

namespace Module1 {

QString CartellaDelPercorso(const QString& path) {
    const qsizetype lastSeparator =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')));
    if (lastSeparator < 0 || path.startsWith(QLatin1Char(':')))
        return {};
    return path.left(lastSeparator + 1);
}

} // namespace Module1
