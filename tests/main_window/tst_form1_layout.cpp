#include "command_button.h"
#include "desktop_theme.h"
#include "font_preload.h"
#include "form_fixture.h"
#include "identity.h"
#include "picture_box.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

using look::VbColor;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program's fonts, prepared as main() prepares them.
        look::preloadFonts().wait();
        look::registerFonts();
    }

    void window();
    void geometry_data();
    void geometry();
    void fonts_data();
    void fonts();
    void colours_data();
    void colours();
    void coloursHoldUnderADarkLargeTheme();
    void texts_data();
    void texts();
    void labels_data();
    void labels();
    void handPointer_data();
    void handPointer();
    void timers_data();
    void timers();
    void tabOrder();
    void backtabOrder();
    void firstFrame();
    void stacking_data();
    void stacking();
    void bannerVisibleAboveBottomEdge();
    void captionsFit_data();
    void captionsFit();
    void promotionControls();
};

void LayoutTest::window() {
    FormFixture f;
    Form1& form = f.form();
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvel by Brivanta"));
    // The designed client area lies below the menu bar, which alone makes the window taller.
    auto* menuBar = f.control<QMenuBar>("MenuBar");
    QVERIFY(menuBar);
    QVERIFY(!menuBar->isNativeMenuBar());
    QVERIFY(menuBar->height() > 0);
    QCOMPARE(menuBar->geometry(), QRect(0, 0, 464, menuBar->height()));
    QCOMPARE(f.area().geometry(), QRect(0, menuBar->height(), 464, 319));
    QCOMPARE(form.size(), QSize(464, 319 + menuBar->height()));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(look::backColor(&form), look::kButtonFace);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(std::abs(form.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(std::abs(form.geometry().center().y() - screen.center().y()) <= 1);

    for (auto* button : form.findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
    }
}

void LayoutTest::geometry_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRectF>("twips");

    auto row = [](const char* name, const char* container, double l, double t, double w, double h) {
        QTest::newRow(name) << QString::fromLatin1(container) << QRectF(l, t, w, h);
    };
    row("Record", "DesignArea", -45, 3960, 7000, 1185);
    row("DilloAdAmico", "Record", 1035, 450, 5370, 240);
    row("RecordDownload", "Record", 855, 90, 5775, 330);
    row("DilloAdAmico_Ombra", "Record", 1056, 472, 5370, 240);
    row("SvuotaCampi", "DesignArea", 5700, 240, 1155, 615);
    row("CopyIBAN", "DesignArea", 4440, 1140, 2415, 495);
    row("bvLOGO", "DesignArea", 120, 2160, 6735, 915);
    row("bvURL", "bvLOGO", 3840, 570, 2415, 255);
    row("bvRecapiti", "bvLOGO", 3840, 150, 1995, 405);
    row("txtIBAN", "DesignArea", 120, 1200, 4155, 390);
    row("CalcolaIBAN", "DesignArea", 4440, 240, 1155, 615);
    row("txtCC", "DesignArea", 1920, 420, 2355, 360);
    row("txtCAB", "DesignArea", 1020, 420, 795, 360);
    row("txtABI", "DesignArea", 120, 420, 795, 360);
    row("Frame1", "DesignArea", -60, 3540, 7060, 30);
    row("Label6", "DesignArea", 0, 3120, 6960, 465);
    row("Label5", "DesignArea", 120, 1740, 6675, 495);
    row("Label4", "DesignArea", 120, 970, 1275, 255);
    row("Label3", "DesignArea", 1980, 180, 2295, 255);
    row("Label2", "DesignArea", 1080, 180, 495, 255);
    row("Label1", "DesignArea", 180, 180, 435, 195);
    row("TxtSpot", "DesignArea", 0, 3630, 6915, 255);
    row("Shape2", "DesignArea", 0, 2370, 6975, 1005);
    row("Shape1", "DesignArea", 0, 3570, 6945, 1635);
}

void LayoutTest::geometry() {
    QFETCH(QString, container);
    QFETCH(QRectF, twips);
    FormFixture f;
    QWidget* w = f.control(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(look::twipsLeft(w), twips.left());
    QCOMPARE(look::twipsTop(w), twips.top());
    QCOMPARE(look::twipsWidth(w), twips.width());
    QCOMPARE(look::twipsHeight(w), twips.height());

    // 15 twips to the pixel, measured from the container's client area.
    QPoint origin;
    if (auto* box = qobject_cast<PictureBox*>(w->parentWidget())) {
        origin = box->clientOrigin();
    }
    auto px = [](double t) { return int(std::lround(t / 15)); };
    const QRect expected(QPoint(px(twips.left()), px(twips.top())),
                         QPoint(px(twips.right()) - 1, px(twips.bottom()) - 1));
    QCOMPARE(w->geometry(), expected.translated(origin));
}

void LayoutTest::fonts_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");

    auto row = [](const char* name, const char* face, double points, bool bold, bool italic,
                  bool underline) {
        QTest::newRow(name) << QString::fromLatin1(face) << points << bold << italic << underline;
    };
    row("DilloAdAmico", "Tahoma", 8.25, false, false, true);
    row("RecordDownload", "Arial", 8.25, true, true, false);
    row("DilloAdAmico_Ombra", "Tahoma", 8.25, false, false, true);
    row("SvuotaCampi", "Tahoma", 9.75, true, false, false);
    row("CopyIBAN", "Tahoma", 8.25, false, false, false);
    row("bvURL", "Tahoma", 6.75, false, false, false);
    row("bvRecapiti", "Tahoma", 6.75, false, false, false);
    row("txtIBAN", "Arial", 12.75, true, false, false);
    row("CalcolaIBAN", "Tahoma", 9.75, true, false, false);
    row("txtCC", "MS Sans Serif", 9.75, true, false, false);
    row("txtCAB", "MS Sans Serif", 9.75, true, false, false);
    row("txtABI", "MS Sans Serif", 9.75, true, false, false);
    row("Label5", "Arial", 6.75, true, false, false);
    row("Label4", "MS Sans Serif", 8.25, true, false, false);
    row("Label3", "MS Sans Serif", 8.25, true, false, false);
    row("Label2", "MS Sans Serif", 8.25, true, false, false);
    row("Label1", "MS Sans Serif", 8.25, true, false, false);
    row("TxtSpot", "Verdana", 9.75, true, false, false);
    row("Form1", "MS Sans Serif", 8.25, false, false, false);
}

void LayoutTest::fonts() {
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    FormFixture f;
    QWidget* w = QByteArray(QTest::currentDataTag()) == "Form1"
                     ? &f.form()
                     : f.control(QTest::currentDataTag());
    QVERIFY(w);
    const QFont font = w->font();
    QCOMPARE(font.family(), look::installedFamily(qPrintable(face)));
    // The requested face is the one on screen, not a silent fallback.
    QCOMPARE(QFontInfo(font).family(), font.family());
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.underline(), underline);
}

void LayoutTest::colours_data() {
    QTest::addColumn<VbColor>("back");
    QTest::addColumn<VbColor>("fore");

    auto row = [](const char* name, VbColor back, VbColor fore) {
        QTest::newRow(name) << back << fore;
    };
    const VbColor face = look::kButtonFace;
    const VbColor buttonText = look::kButtonText;
    row("Record", look::kWhite, buttonText);
    row("DilloAdAmico", face, look::kBlue);
    row("RecordDownload", face, 0x0000C000);
    row("DilloAdAmico_Ombra", face, look::kGrey);
    row("SvuotaCampi", 0x008080FF, buttonText);
    row("CopyIBAN", face, buttonText);
    row("bvLOGO", look::kWhite, buttonText);
    row("bvURL", look::kWhite, look::kBlue);
    row("bvRecapiti", look::kWhite, buttonText);
    row("txtIBAN", 0x00C0E0FF, look::kBlue);
    row("CalcolaIBAN", 0x0080FF80, buttonText);
    row("txtCC", look::kWindowBackground, look::kWindowText);
    row("txtCAB", look::kWindowBackground, look::kWindowText);
    row("txtABI", look::kYellow, look::kWindowText);
    row("Frame1", face, buttonText);
    row("Label5", face, look::kRed);
    row("Label4", face, buttonText);
    row("Label3", face, buttonText);
    row("Label2", face, buttonText);
    row("Label1", face, buttonText);
    row("TxtSpot", face, look::kYellow);
    row("Shape2", face, look::kWindowText);
    row("Shape1", look::kBlack, look::kWindowText);
}

void LayoutTest::colours() {
    QFETCH(VbColor, back);
    QFETCH(VbColor, fore);
    // Built without being shown: the design's own colours, before any focus change.
    QtMessageBoxes boxes;
    Form1 form(boxes);
    QWidget* w = form.findChild<QWidget*>(QLatin1String(QTest::currentDataTag()));
    QVERIFY(w);
    QCOMPARE(look::backColor(w), back);
    QCOMPARE(look::foreColor(w), fore);
    QCOMPARE(w->palette().color(QPalette::Window), look::toQColor(back));
    QCOMPARE(w->palette().color(QPalette::WindowText), look::toQColor(fore));
}

namespace {

QImage drawnForm() {
    QtMessageBoxes boxes;
    Form1 form(boxes);
    return form.grab().toImage();
}

} // namespace

// Every pixel of the design, as drawn on the desktop's default light theme, whether the window
// is built under a dark theme with large fonts or the desktop switches to it while it runs.
void LayoutTest::coloursHoldUnderADarkLargeTheme() {
    const QImage light = drawnForm();
    QtMessageBoxes boxes;
    Form1 running(boxes);
    {
        const DarkLargeTheme dark;
        QCOMPARE(QApplication::palette().color(QPalette::Window).lightness() < 80, true);
        QCOMPARE(drawnForm(), light);
        QCOMPARE(running.grab().toImage(), light);
    }
    QCOMPARE(running.grab().toImage(), light);
}

void LayoutTest::texts_data() {
    QTest::addColumn<QString>("text");
    const QString banner =
        QStringLiteral("Dillo a un AMICO. Fai scaricare Quorvel anche a lui: CLICCA QUI");
    QTest::newRow("DilloAdAmico") << banner;
    QTest::newRow("DilloAdAmico_Ombra") << banner;
    QTest::newRow("RecordDownload") << QString();
    QTest::newRow("SvuotaCampi") << QStringLiteral("Svuota tutto");
    QTest::newRow("CopyIBAN") << QStringLiteral("Copia negli appunti di Windows");
    QTest::newRow("bvURL") << QStringLiteral("http://www.brivanta.example");
    QTest::newRow("bvRecapiti") << QString();
    QTest::newRow("txtIBAN") << QString();
    QTest::newRow("CalcolaIBAN") << QStringLiteral("Calcola IBAN");
    QTest::newRow("txtCC") << QString();
    QTest::newRow("txtCAB") << QString();
    QTest::newRow("txtABI") << QString();
    QTest::newRow("Label5") << QString::fromUtf8(
        "Solo le Banche possono rilasciare i codici IBAN, pertanto, l'utilizzo del presente "
        "software è da intendersi esclusivamente a scopo di controllo e/o didattico.");
    QTest::newRow("Label4") << QStringLiteral("Codice IBAN");
    QTest::newRow("Label3") << QStringLiteral("NR. CONTO CORRENTE");
    QTest::newRow("Label2") << QStringLiteral("CAB");
    QTest::newRow("Label1") << QStringLiteral("ABI");
    QTest::newRow("TxtSpot") << QString();
}

void LayoutTest::texts() {
    QFETCH(QString, text);
    FormFixture f;
    QObject* o = f.control<QObject>(QTest::currentDataTag());
    QVERIFY(o);
    if (auto* label = qobject_cast<QLabel*>(o)) {
        QCOMPARE(label->text(), text);
    } else if (auto* button = qobject_cast<QPushButton*>(o)) {
        QCOMPARE(button->text(), text);
    } else {
        QCOMPARE(qobject_cast<QLineEdit*>(o)->text(), text);
    }
}

void LayoutTest::labels_data() {
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("DilloAdAmico") << true << false;
    QTest::newRow("RecordDownload") << false << false;
    QTest::newRow("DilloAdAmico_Ombra") << true << false;
    QTest::newRow("bvURL") << false << true;
    QTest::newRow("bvRecapiti") << false << true;
    QTest::newRow("Label6") << true << true;
    QTest::newRow("Label5") << true << true;
    QTest::newRow("Label4") << false << true;
    QTest::newRow("Label3") << false << true;
    QTest::newRow("Label2") << false << true;
    QTest::newRow("Label1") << false << true;
    QTest::newRow("TxtSpot") << true << false;
}

void LayoutTest::labels() {
    QFETCH(bool, centred);
    QFETCH(bool, opaque);
    FormFixture f;
    auto* label = f.control<QLabel>(QTest::currentDataTag());
    QVERIFY(label);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->alignment() & Qt::AlignVertical_Mask, Qt::AlignTop);
    QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask,
             centred ? Qt::AlignHCenter : Qt::AlignLeft);
    QCOMPARE(label->autoFillBackground(), opaque);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void LayoutTest::handPointer_data() {
    QTest::addColumn<bool>("hand");
    for (const char* name : {"DilloAdAmico", "DilloAdAmico_Ombra", "SvuotaCampi", "CopyIBAN",
                             "bvURL", "CalcolaIBAN", "TxtSpot"}) {
        QTest::newRow(name) << true;
    }
    for (const char* name : {"Record", "RecordDownload", "bvLOGO", "bvRecapiti", "txtIBAN", "txtCC",
                             "txtCAB", "txtABI", "Label6", "Label5", "Label1"}) {
        QTest::newRow(name) << false;
    }
}

void LayoutTest::handPointer() {
    QFETCH(bool, hand);
    FormFixture f;
    QWidget* w = f.control(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(w->cursor().shape() == Qt::BitmapCursor, hand);
    if (hand) {
        QCOMPARE(w->cursor().pixmap().toImage(), look::handCursor().pixmap().toImage());
    }
}

void LayoutTest::timers_data() {
    QTest::addColumn<int>("interval");
    QTest::newRow("Timer1") << 120;
    QTest::newRow("Timer2") << 800;
}

void LayoutTest::timers() {
    QFETCH(int, interval);
    FormFixture f;
    auto* timer = f.form().findChild<QTimer*>(QLatin1String(QTest::currentDataTag()));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), interval);
    QVERIFY(timer->isActive());
    QVERIFY(!timer->isSingleShot());
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
}

namespace {
const QStringList kTabChain = {"txtABI",  "txtCAB",   "txtCC",  "CalcolaIBAN", "SvuotaCampi",
                               "txtIBAN", "CopyIBAN", "bvLOGO", "Record"};
}

void LayoutTest::tabOrder() {
    FormFixture f;
    QVERIFY(f.waitActive());
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtABI"));
    for (int i = 1; i <= kTabChain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), kTabChain[i % kTabChain.size()]);
    }
}

void LayoutTest::backtabOrder() {
    FormFixture f;
    QVERIFY(f.waitActive());
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtABI"));
    for (int i = kTabChain.size() - 1; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), kTabChain[i]);
    }
}

void LayoutTest::firstFrame() {
    FormFixture f;
    QVERIFY(f.waitActive());
    auto* abi = f.control<QLineEdit>("txtABI");
    QTRY_VERIFY(abi->hasFocus());
    QCOMPARE(look::backColor(abi), look::kYellow);
    for (const char* name : {"txtABI", "txtCAB", "txtCC", "txtIBAN"}) {
        QVERIFY(f.control<QLineEdit>(name)->text().isEmpty());
    }
    QCOMPARE(look::backColor(f.control("txtCAB")), look::kWindowBackground);
    QCOMPARE(look::backColor(f.control("txtCC")), look::kWindowBackground);
    QVERIFY(f.control<QLineEdit>("txtIBAN")->isReadOnly());
    QCOMPARE(f.control<QLineEdit>("txtIBAN")->alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
}

void LayoutTest::stacking_data() {
    QTest::addColumn<double>("spotTop");
    QTest::addColumn<QPointF>("twips");
    QTest::addColumn<QString>("onTop");

    // Points in the window's client area, with the ticker moved to where it overlaps.
    QTest::newRow("ticker at rest") << 3630.0 << QPointF(3480, 3700) << "TxtSpot";
    QTest::newRow("notice over ticker") << 3300.0 << QPointF(3480, 3400) << "Label6";
    QTest::newRow("banner box over ticker") << 3900.0 << QPointF(200, 4050) << "Record";
    QTest::newRow("rule over notice") << 3630.0 << QPointF(3480, 3555) << "Frame1";
    QTest::newRow("vendor box over disclaimer") << 3630.0 << QPointF(3480, 2200) << "bvLOGO";
    QTest::newRow("banner over its shadow") << 3630.0 << QPointF(3480, 4470) << "DilloAdAmico";
    QTest::newRow("shadow below the banner")
        << 3630.0 << QPointF(3480, 4680) << "DilloAdAmico_Ombra";
    QTest::newRow("link in vendor box") << 3630.0 << QPointF(4500, 2800) << "bvURL";
}

void LayoutTest::stacking() {
    QFETCH(double, spotTop);
    QFETCH(QPointF, twips);
    QFETCH(QString, onTop);
    FormFixture f;
    look::setTwipsTop(f.control("TxtSpot"), spotTop);
    const QPoint at(int(twips.x() / 15), int(twips.y() / 15));
    QWidget* w = f.area().childAt(at);
    QVERIFY(w);
    QCOMPARE(w->objectName(), onTop);
}

void LayoutTest::bannerVisibleAboveBottomEdge() {
    FormFixture f;
    const int bottom = f.area().height();
    auto* record = f.control<PictureBox>("Record");
    QVERIFY(record->geometry().bottom() >= bottom);
    QVERIFY(record->y() + record->clientOrigin().y() + record->picture().height() <= bottom);
    QVERIFY(!record->picture().isNull());
    for (const char* name : {"DilloAdAmico", "RecordDownload", "DilloAdAmico_Ombra"}) {
        QWidget* w = f.control(name);
        QVERIFY2(w->mapTo(&f.area(), QPoint(0, w->height())).y() <= bottom, name);
    }
}

void LayoutTest::captionsFit_data() {
    QTest::addColumn<int>("lines");
    QTest::newRow("Label1") << 1;
    QTest::newRow("Label2") << 1;
    QTest::newRow("Label3") << 1;
    QTest::newRow("Label4") << 1;
    QTest::newRow("Label5") << 2;
    QTest::newRow("Label6") << 1;
    QTest::newRow("bvURL") << 1;
    QTest::newRow("DilloAdAmico") << 1;
    QTest::newRow("CopyIBAN") << 1;
    // The design's buttons are two lines high: their bold captions break there.
    QTest::newRow("CalcolaIBAN") << 2;
    QTest::newRow("SvuotaCampi") << 2;
}

void LayoutTest::captionsFit() {
    QFETCH(int, lines);
    FormFixture f;
    QWidget* w = f.control(QTest::currentDataTag());
    QVERIFY(w);
    QString text;
    QRect area = w->rect();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        text = label->text();
    } else {
        auto* button = qobject_cast<CommandButton*>(w);
        QVERIFY(button);
        text = button->text();
        area = button->captionRect();
    }
    const QFontMetrics metrics(w->font());
    const QRect needed = metrics.boundingRect(area, Qt::TextWordWrap, text);
    QCOMPARE(qRound(double(needed.height()) / metrics.lineSpacing()), lines);
    QVERIFY2(needed.width() <= area.width(), qPrintable(text));
    QVERIFY2(needed.height() <= area.height(), qPrintable(text));
}

void LayoutTest::promotionControls() {
    FormFixture f;
    const PromotionControls c = f.form().promotionControls();
    QCOMPARE(c.TxtSpot, f.control("TxtSpot"));
    QCOMPARE(c.Timer1, f.form().findChild<QTimer*>("Timer1"));
    QCOMPARE(c.Timer2, f.form().findChild<QTimer*>("Timer2"));
    QCOMPARE(c.Record, f.control("Record"));
    QCOMPARE(c.DilloAdAmico, f.control("DilloAdAmico"));
    QCOMPARE(c.DilloAdAmico_Ombra, f.control("DilloAdAmico_Ombra"));
    QCOMPARE(c.RecordDownload, f.control("RecordDownload"));
    QCOMPARE(c.bvLOGO, f.control("bvLOGO"));
    QCOMPARE(c.bvURL, f.control("bvURL"));
    QCOMPARE(c.bvRecapiti, f.control("bvRecapiti"));
}

QTEST_MAIN(LayoutTest)
#include "tst_form1_layout.moc"
