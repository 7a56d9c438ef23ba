#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QtGlobal>

class QLineEdit;
class QStyle;
class QWidget;

// The window designs are written in twips, fonts in points and colours as 0x00BBGGRR values
// (or 0x800000nn for a system colour). These helpers place controls from those values and keep
// the values on the widget, so that code and tests can read them back exactly.
namespace look {

using VbColor = quint32;

inline constexpr VbColor kYellow = 0x0000FFFF;
inline constexpr VbColor kRed = 0x000000FF;
inline constexpr VbColor kGreen = 0x00008000; // dark: full green is hard to read on a light face
inline constexpr VbColor kBlue = 0x00FF0000;
inline constexpr VbColor kCyan = 0x00FFFF00;
inline constexpr VbColor kWhite = 0x00FFFFFF;
inline constexpr VbColor kBlack = 0x00000000;
inline constexpr VbColor kGrey = 0x00808080;
inline constexpr VbColor kWindowBackground = 0x80000005;
inline constexpr VbColor kWindowText = 0x80000008;
inline constexpr VbColor kButtonFace = 0x8000000F;
inline constexpr VbColor kButtonText = 0x80000012;

inline constexpr int kTwipsPerPixel = 15; // at 96 dots per inch; Qt scales for other screens

int twipsToPixels(double twips);

// Places a control from twips relative to its container's client area and remembers the twips.
void setTwipsGeometry(QWidget* w, double left, double top, double width, double height);
double twipsLeft(const QWidget* w);
double twipsTop(const QWidget* w);
double twipsWidth(const QWidget* w);
double twipsHeight(const QWidget* w);
void setTwipsTop(QWidget* w, double top);

// A system colour resolves to the designs' own light palette, never to the desktop's; an RGB
// value is taken as it is.
QColor toQColor(VbColor value);
// The whole palette of a designed window: the system colours above, and the edges, selection
// and disabled colours that go with them. Set on the window before its controls' colours.
QPalette designPalette();
void setBackColor(QWidget* w, VbColor value);
void setForeColor(QWidget* w, VbColor value);
VbColor backColor(const QWidget* w);
VbColor foreColor(const QWidget* w);

// The designs give no text box a length limit of its own; QLineEdit would stop at 32,767.
void removeLengthLimit(QLineEdit* box);

// A font by Windows face name; fonts.cpp makes the names resolve to installed faces. Where a
// face is shown by a wider one than the program ships with (only DejaVu installed, say), the
// size shrinks so that the designs' texts still fit their controls.
QFont vbFont(const char* face, double points, bool bold = false, bool italic = false,
             bool underline = false);
// The size that vbFont gives a design face of `points`: `points` itself with the shipped faces.
double fittedPoints(const char* face, double points, bool bold = false);

// Maps the Windows faces of the designs that are not installed to installed faces of close
// metrics (called once, after preloadFonts() and before the first window).
void registerFonts();

// The installed family that shows a design face: the face itself where it is installed (as on
// Windows), otherwise its first installed substitute.
QString installedFamily(const char* face);

// The style the designs were drawn in: Qt's "Windows" style, whose command buttons show a flat
// face in their back colour between three-dimensional edges, with sunken text boxes and etched
// frames to match. Set for the whole application before the QApplication object is made.
QStyle* createDesignStyle();

QIcon applicationIcon();
QCursor handCursor();
QPixmap badgePicture();
QPixmap logoPicture();

} // namespace look
