#include "background_task.h"
#include "font_preload.h"
#include "look.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <utility>

namespace look {

std::future<void> listFonts() {
    return runInBackground([] { QFontDatabase::families(); });
}

void registerFonts() {
    // Faces of the designs that Linux lacks, mapped to installed faces of close metrics.
    // MS Sans Serif is a bitmap face: Tahoma is its outline successor.
    const std::pair<QString, QStringList> substitutes[] = {
        {QStringLiteral("MS Sans Serif"),
         {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")}},
        {QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")}},
    };
    // An installed face gets no substitute. Qt would put the substitute at the head of the face's
    // fallback list, and then ask fontconfig for the rest of that list as soon as it loads the
    // face, not when a glyph turns out to be missing.
    const QStringList installed = QFontDatabase::families();
    for (const auto& [face, faces] : substitutes) {
        if (!installed.contains(face, Qt::CaseInsensitive))
            QFont::insertSubstitutions(face, faces);
    }
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
