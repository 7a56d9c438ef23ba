#include "background_task.h"
#include "font_preload.h"
#include "look.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace look {

namespace {

// How wide a design face sets a few samples, in ems, as the faces the program ships with show
// it: Liberation Sans for Arial, the Tahoma of Debian's fonts-wine for Tahoma and MS Sans Serif
// (bold is Qt's emboldened regular face, as wide), DejaVu Sans for Verdana. The designs' texts
// fit their controls at these widths.
struct Widths {
    double digits;
    double capitals;
    double small;
};

struct DesignFace {
    const char* face;
    // Installed families that set text exactly as wide: no need to measure them.
    std::initializer_list<const char*> sameWidths;
    Widths regular;
    Widths bold;
};

const DesignFace kDesignFaces[] = {
    {"Arial",
     {"Arial", "Liberation Sans", "Arimo"},
     {5.561, 17.613, 12.728},
     {5.561, 17.889, 14.002}},
    {"Tahoma", {"Tahoma"}, {5.459, 15.806, 12.708}, {5.459, 15.806, 12.708}},
    {"MS Sans Serif",
     {"MS Sans Serif", "Tahoma"},
     {5.459, 15.806, 12.708},
     {5.459, 15.806, 12.708}},
    {"Verdana", {"Verdana", "DejaVu Sans"}, {6.362, 17.489, 14.646}, {6.958, 19.627, 16.539}},
};

const char* const kDigits = "0123456789";
const char* const kCapitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char* const kSmall = "abcdefghijklmnopqrstuvwxyz";

// The installed family that shows a design face, or nothing when neither the face nor any of
// its substitutes is installed (fontconfig then picks some other face).
QString foundFamily(const QString& face) {
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
    QString found = find(face);
    const QStringList substitutes = QFont::substitutes(face);
    for (auto it = substitutes.cbegin(); found.isEmpty() && it != substitutes.cend(); ++it) {
        found = find(*it);
    }
    return found;
}

// Points at which `family`, standing in for a design face, sets no sample wider than the face
// would at `points`: a wider face is made smaller, so that the texts still fit their controls.
double pointsFitting(const char* face, const QString& family, double points, bool bold) {
    const auto design =
        std::find_if(std::begin(kDesignFaces), std::end(kDesignFaces),
                     [face](const DesignFace& d) { return qstrcmp(d.face, face) == 0; });
    if (design == std::end(kDesignFaces)) {
        return points;
    }
    for (const char* same : design->sameWidths) {
        if (family.compare(QLatin1String(same), Qt::CaseInsensitive) == 0) {
            return points;
        }
    }
    constexpr int kProbePixels = 100;
    QFont probe = family.isEmpty() ? QFont(QString::fromLatin1(face)) : QFont(family);
    probe.setPixelSize(kProbePixels);
    probe.setBold(bold);
    probe.setHintingPreference(QFont::PreferNoHinting);
    probe.setKerning(false);
    probe.setStyleStrategy(QFont::PreferNoShaping);
    const QFontMetricsF metrics(probe);
    const Widths& widths = bold ? design->bold : design->regular;
    double scale = 1;
    for (const auto& [sample, ems] : {std::pair{kDigits, widths.digits},
                                      {kCapitals, widths.capitals},
                                      {kSmall, widths.small}}) {
        scale = std::min(scale, ems * kProbePixels /
                                    metrics.horizontalAdvance(QString::fromLatin1(sample)));
    }
    return points * scale;
}

} // namespace

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
    const QString found = foundFamily(design);
    return found.isEmpty() ? design : found;
}

double fittedPoints(const char* face, double points, bool bold) {
    return pointsFitting(face, foundFamily(QString::fromLatin1(face)), points, bold);
}

QFont vbFont(const char* face, double points, bool bold, bool italic, bool underline) {
    const QString design = QString::fromLatin1(face);
    const QString found = foundFamily(design);
    // Asking for the installed family spares Qt a failing lookup and a fontconfig fallback
    // search for each font of the designs; what shows on screen is the same.
    QFont f(found.isEmpty() ? design : found);
    f.setPointSizeF(pointsFitting(face, found, points, bold));
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    // Unhinted outlines keep the same advances as the light hinting that fontconfig asks for by
    // default (it only moves glyphs vertically), and spare the autohinter, which took a third of
    // the glyph work of the first frame.
    f.setHintingPreference(QFont::PreferNoHinting);
    // Windows set the designs' text with no kerning and no ligatures. Latin text set that way
    // also skips the OpenType shaper; scripts that need it are still shaped.
    f.setKerning(false);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

} // namespace look
