#include "look.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace look {

void registerFonts() {
    // Debian's fonts-wine ships a Tahoma-compatible face in a folder fontconfig does not scan.
    // Windows has the real faces, and the files are absent there.
    for (const char* file :
         {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFile::exists(QString::fromLatin1(file))) {
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
    }
    // Faces of the designs that Linux lacks, mapped to installed faces of close metrics.
    // MS Sans Serif is a bitmap face: Tahoma is its outline successor.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
}

} // namespace look
