#include "form1.h"

#include "command_button.h"
#include "identity.h"
#include "link_label.h"
#include "look.h"
#include "picture_box.h"
#include "shape.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

using look::VbColor;

QTimer* timer(QObject* owner, const char* name, int interval) {
    auto* t = new QTimer(owner);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    t->setTimerType(Qt::PreciseTimer);
    return t;
}

void paint(QWidget* w, VbColor back, VbColor fore) {
    look::setBackColor(w, back);
    look::setForeColor(w, fore);
}

// Labels wrap at word boundaries and keep their text at the top; an opaque label paints its
// back colour behind the text, a transparent one lets the controls beneath show through.
template <typename Label = QLabel>
Label* label(QWidget* container, const char* name, const QString& text, const QFont& font,
             Qt::Alignment horizontal, bool opaque, VbColor back, VbColor fore) {
    auto* l = new Label(text, container);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(horizontal | Qt::AlignTop);
    l->setFont(font);
    l->setAutoFillBackground(opaque);
    paint(l, back, fore);
    return l;
}

QLineEdit* textBox(QWidget* container, const char* name, const QFont& font, VbColor back,
                   VbColor fore) {
    auto* t = new QLineEdit(container);
    t->setObjectName(QLatin1String(name));
    t->setFont(font);
    look::removeLengthLimit(t);
    paint(t, back, fore);
    return t;
}

// Enter and Space press a button that has the focus; none is the window's default button.
QPushButton* button(QWidget* container, const char* name, const QString& caption, const QFont& font,
                    VbColor back, const QCursor& hand) {
    auto* b = new CommandButton(caption, container);
    b->setObjectName(QLatin1String(name));
    b->setFont(font);
    b->setAutoDefault(true);
    b->setCursor(hand);
    paint(b, back, look::kButtonText);
    return b;
}

PictureBox* pictureBox(QWidget* container, const char* name, PictureBox::Border border,
                       const QPixmap& picture) {
    auto* box = new PictureBox(border, container);
    box->setObjectName(QLatin1String(name));
    box->setPicture(picture);
    box->setFocusPolicy(Qt::TabFocus);
    paint(box, look::kWhite, look::kButtonText);
    return box;
}

Shape* shape(QWidget* container, const char* name, bool bordered, VbColor fill) {
    auto* s = new Shape(bordered, container);
    s->setObjectName(QLatin1String(name));
    paint(s, fill, look::kWindowText);
    return s;
}

const char* const kBannerText = "Dillo a un AMICO. Fai scaricare Quorvel anche a lui: CLICCA QUI";

} // namespace

void Form1::createControls() {
    using look::kButtonFace;
    using look::kButtonText;
    using look::kWindowBackground;
    using look::kWindowText;
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centred = Qt::AlignHCenter;
    // One decoded pointer shared by every clickable control.
    const QCursor hand = look::handCursor();

    Timer2 = timer(this, "Timer2", 800);

    Record = pictureBox(DesignArea, "Record", PictureBox::Border::Sunken3D, look::badgePicture());
    look::setTwipsGeometry(Record, -45, 3960, 7000, 1185);

    DilloAdAmico = label<LinkLabel>(Record, "DilloAdAmico", QString::fromUtf8(kBannerText),
                                    look::vbFont("Tahoma", 8.25, false, false, true), centred,
                                    false, kButtonFace, look::kBlue);
    Record->placeInClientArea(DilloAdAmico, 1035, 450, 5370, 240);
    DilloAdAmico->setCursor(hand);

    RecordDownload =
        label(Record, "RecordDownload", QString(), look::vbFont("Arial", 8.25, true, true), left,
              false, kButtonFace, 0x0000C000);
    Record->placeInClientArea(RecordDownload, 855, 90, 5775, 330);

    DilloAdAmico_Ombra = label(Record, "DilloAdAmico_Ombra", QString::fromUtf8(kBannerText),
                               look::vbFont("Tahoma", 8.25, false, false, true), centred, false,
                               kButtonFace, look::kGrey);
    Record->placeInClientArea(DilloAdAmico_Ombra, 1056, 472, 5370, 240);
    DilloAdAmico_Ombra->setCursor(hand);

    Timer1 = timer(this, "Timer1", 120);

    SvuotaCampi = button(DesignArea, "SvuotaCampi", QStringLiteral("Svuota tutto"),
                         look::vbFont("Tahoma", 9.75, true), 0x008080FF, hand);
    look::setTwipsGeometry(SvuotaCampi, 5700, 240, 1155, 615);

    CopyIBAN = button(DesignArea, "CopyIBAN", QStringLiteral("Copia negli appunti di Windows"),
                      look::vbFont("Tahoma", 8.25), kButtonFace, hand);
    look::setTwipsGeometry(CopyIBAN, 4440, 1140, 2415, 495);

    bvLOGO = pictureBox(DesignArea, "bvLOGO", PictureBox::Border::FlatSingle, look::logoPicture());
    look::setTwipsGeometry(bvLOGO, 120, 2160, 6735, 915);

    bvURL = label<LinkLabel>(bvLOGO, "bvURL", QString::fromLatin1(identity::kVendorHome),
                             look::vbFont("Tahoma", 6.75), left, true, look::kWhite, look::kBlue);
    bvLOGO->placeInClientArea(bvURL, 3840, 570, 2415, 255);
    bvURL->setCursor(hand);

    bvRecapiti = label(bvLOGO, "bvRecapiti", QString(), look::vbFont("Tahoma", 6.75), left, true,
                       look::kWhite, kButtonText);
    bvLOGO->placeInClientArea(bvRecapiti, 3840, 150, 1995, 405);

    txtIBAN =
        textBox(DesignArea, "txtIBAN", look::vbFont("Arial", 12.75, true), 0x00C0E0FF, look::kBlue);
    look::setTwipsGeometry(txtIBAN, 120, 1200, 4155, 390);
    txtIBAN->setAlignment(Qt::AlignCenter);
    txtIBAN->setReadOnly(true);

    CalcolaIBAN = button(DesignArea, "CalcolaIBAN", QStringLiteral("Calcola IBAN"),
                         look::vbFont("Tahoma", 9.75, true), 0x0080FF80, hand);
    look::setTwipsGeometry(CalcolaIBAN, 4440, 240, 1155, 615);

    const QFont fieldFont = look::vbFont("MS Sans Serif", 9.75, true);
    txtCC = textBox(DesignArea, "txtCC", fieldFont, kWindowBackground, kWindowText);
    look::setTwipsGeometry(txtCC, 1920, 420, 2355, 360);
    txtCAB = textBox(DesignArea, "txtCAB", fieldFont, kWindowBackground, kWindowText);
    look::setTwipsGeometry(txtCAB, 1020, 420, 795, 360);
    // The first field carries the focus highlight from the start.
    txtABI = textBox(DesignArea, "txtABI", fieldFont, look::kYellow, kWindowText);
    look::setTwipsGeometry(txtABI, 120, 420, 795, 360);

    Frame1 = new QFrame(DesignArea);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Frame1->setAutoFillBackground(true);
    paint(Frame1, kButtonFace, kButtonText);
    look::setTwipsGeometry(Frame1, -60, 3540, 7060, 30);

    Label6 = label(DesignArea, "Label6",
                   QString::fromUtf8("Quorvel è gratuito: puoi copiarlo e regalarlo a chi vuoi."),
                   look::vbFont("Tahoma", 8.25, true), centred, true, kButtonFace, 0x00800000);
    look::setTwipsGeometry(Label6, 0, 3120, 6960, 465);

    Label5 = label(DesignArea, "Label5",
                   QString::fromUtf8("Solo le Banche possono rilasciare i codici IBAN, pertanto, "
                                     "l'utilizzo del presente software è da intendersi "
                                     "esclusivamente a scopo di controllo e/o didattico."),
                   look::vbFont("Arial", 6.75, true), centred, true, kButtonFace, look::kRed);
    look::setTwipsGeometry(Label5, 120, 1740, 6675, 495);

    const QFont captionFont = look::vbFont("MS Sans Serif", 8.25, true);
    Label4 = label(DesignArea, "Label4", QStringLiteral("Codice IBAN"), captionFont, left, true,
                   kButtonFace, kButtonText);
    look::setTwipsGeometry(Label4, 120, 970, 1275, 255);
    Label3 = label(DesignArea, "Label3", QStringLiteral("NR. CONTO CORRENTE"), captionFont, left,
                   true, kButtonFace, kButtonText);
    look::setTwipsGeometry(Label3, 1980, 180, 2295, 255);
    Label2 = label(DesignArea, "Label2", QStringLiteral("CAB"), captionFont, left, true,
                   kButtonFace, kButtonText);
    look::setTwipsGeometry(Label2, 1080, 180, 495, 255);
    Label1 = label(DesignArea, "Label1", QStringLiteral("ABI"), captionFont, left, true,
                   kButtonFace, kButtonText);
    look::setTwipsGeometry(Label1, 180, 180, 435, 195);

    TxtSpot =
        label<LinkLabel>(DesignArea, "TxtSpot", QString(), look::vbFont("Verdana", 9.75, true),
                         centred, false, kButtonFace, look::kYellow);
    look::setTwipsGeometry(TxtSpot, 0, 3630, 6915, 255);
    TxtSpot->setCursor(hand);

    Shape2 = shape(DesignArea, "Shape2", false, kButtonFace);
    look::setTwipsGeometry(Shape2, 0, 2370, 6975, 1005);
    Shape1 = shape(DesignArea, "Shape1", true, look::kBlack);
    look::setTwipsGeometry(Shape1, 0, 3570, 6945, 1635);
}
