#include "look.h"

#include "embedded_pictures.h"

#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>
#include <cmath>
#include <limits>

namespace look {

namespace {

const char* const kLeft = "twipsLeft";
const char* const kTop = "twipsTop";
const char* const kWidth = "twipsWidth";
const char* const kHeight = "twipsHeight";
const char* const kBackColor = "BackColor";
const char* const kForeColor = "ForeColor";

// The system colours the designs name, as Qt's own light palette gives them: the windows keep
// them whatever the desktop's theme, so that no designed text lands on a background of the
// theme's (white on white, red on dark grey).
QColor systemColor(quint32 index) {
    switch (index) {
    case 0x05: // window background
        return Qt::white;
    case 0x08: // window text
    case 0x12: // button text
        return Qt::black;
    default: // 0x0F, button face
        return QColor(0xEF, 0xEF, 0xEF);
    }
}

// The image reads the pixels where the program keeps them, for as long as it runs.
QImage embeddedImage(const pictures::EmbeddedPicture& picture) {
    return QImage(reinterpret_cast<const uchar*>(picture.pixels), picture.width, picture.height,
                  picture.width * 4,
                  picture.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

} // namespace

int twipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

void setTwipsGeometry(QWidget* w, double left, double top, double width, double height) {
    w->setProperty(kLeft, left);
    w->setProperty(kTop, top);
    w->setProperty(kWidth, width);
    w->setProperty(kHeight, height);
    // Convert the edges, not the sizes, so that neighbouring controls keep their seams.
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    w->setGeometry(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

double twipsLeft(const QWidget* w) {
    return w->property(kLeft).toDouble();
}
double twipsTop(const QWidget* w) {
    return w->property(kTop).toDouble();
}
double twipsWidth(const QWidget* w) {
    return w->property(kWidth).toDouble();
}
double twipsHeight(const QWidget* w) {
    return w->property(kHeight).toDouble();
}

void setTwipsTop(QWidget* w, double top) {
    setTwipsGeometry(w, twipsLeft(w), top, twipsWidth(w), twipsHeight(w));
}

QColor toQColor(VbColor value) {
    if (value & 0x80000000u) {
        return systemColor(value & 0xFFu);
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QPalette designPalette() {
    const QColor face = systemColor(0x0F);
    const QColor base = systemColor(0x05);
    const QColor text = systemColor(0x08);
    const QColor light = face.lighter(150);
    const QColor mid = face.darker(130);
    const QColor dark = face.darker(150);
    QPalette p(text, face, light, dark, mid, text, base);
    p.setColor(QPalette::Midlight, mid.lighter(110));
    p.setColor(QPalette::Shadow, dark.darker(135));
    p.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, Qt::blue);
    p.setColor(QPalette::LinkVisited, Qt::magenta);
    p.setColor(QPalette::AlternateBase, face);
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC));
    p.setColor(QPalette::ToolTipText, text);
    QColor placeholder = text;
    placeholder.setAlpha(128);
    p.setColor(QPalette::PlaceholderText, placeholder);
    const QColor disabledText(0xBE, 0xBE, 0xBE);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, disabledText);
    }
    p.setColor(QPalette::Disabled, QPalette::Base, face);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x91, 0x91, 0x91));
    return p;
}

void setBackColor(QWidget* w, VbColor value) {
    w->setProperty(kBackColor, value);
    QPalette p = w->palette();
    const QColor c = toQColor(value);
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
}

void setForeColor(QWidget* w, VbColor value) {
    w->setProperty(kForeColor, value);
    QPalette p = w->palette();
    const QColor c = toQColor(value);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

VbColor backColor(const QWidget* w) {
    return w->property(kBackColor).toUInt();
}
VbColor foreColor(const QWidget* w) {
    return w->property(kForeColor).toUInt();
}

void removeLengthLimit(QLineEdit* box) {
    box->setMaxLength(std::numeric_limits<int>::max());
}

QStyle* createDesignStyle() {
    return QStyleFactory::create(QStringLiteral("Windows"));
}

QIcon applicationIcon() {
    return QIcon(QPixmap::fromImage(embeddedImage(pictures::applicationIcon)));
}

QCursor handCursor() {
    // The fingertip of the drawn hand is the hot spot.
    return QCursor(QPixmap::fromImage(embeddedImage(pictures::handPointer)), 6, 0);
}

QPixmap badgePicture() {
    return QPixmap::fromImage(embeddedImage(pictures::recordBadge));
}
QPixmap logoPicture() {
    return QPixmap::fromImage(embeddedImage(pictures::vendorLogo));
}

} // namespace look
