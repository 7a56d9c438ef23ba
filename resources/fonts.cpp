#include "look.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace look {

void registerFonts() {
    // Faces of the designs that Linux lacks, mapped to installed faces of close metrics.
    // MS Sans Serif is a bitmap face: Tahoma is its outline successor.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
}

QString installedFamily(const char* face) {
    const QString design = QString::fromLatin1(face);
    const QStringList installed = QFontDatabase::families();
    // Qt keeps substitutes in lower case: answer with the family's own spelling.
    const auto find = [&installed](const QString& family) {
        for (const QString& name : installed) {
            if (name.compare(family, Qt::CaseInsensitive) == 0) {
                return name;
            }
        }
        return QString();
    };
    QString found = find(design);
    const QStringList substitutes = QFont::substitutes(design);
    for (auto it = substitutes.cbegin(); found.isEmpty() && it != substitutes.cend(); ++it) {
        found = find(*it);
    }
    return found.isEmpty() ? design : found;
}

} // namespace look
