#include "answering_browser.h"
#include "box_answerer.h"
#include "desktop_theme.h"
#include "font_preload.h"
#include "frm_email.h"
#include "look.h"
#include "message_boxes.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <memory>

namespace {

const QString kTitle = QStringLiteral("Brivanta IBAN");
const QString kEmpty = QStringLiteral("Occorre inserire l'indirizzo email del tuo Amico.");
const QString kMalformed = QStringLiteral("L'indirizzo email del tuo Amico NON è corretto!");
const QString kThanks = QStringLiteral("Messaggio Inviato. Grazie per la collaborazione!");
const char* const kFields[] = {"emailTO", "NomeFrom", "emailFROM"};
const char* const kControls[] = {"InviaMail", "Frame2", "emailFROM", "NomeFrom", "Label3",
                                 "Label2",    "Frame1", "emailTO",   "Label1"};

using Pairs = QList<QPair<QString, QString>>;

} // namespace

class FrmEmailTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void design_data();
    void design();
    void fieldsCoverTheEndOfTheirCaptions();
    void coloursHoldUnderADarkLargeTheme();
    void windowSettings();
    void openingHighlightsTheFriendsAddress();
    void tabAndShiftTabMoveTheHighlight();
    void clickFromFriendsAddressIntoOwnAddress();
    void submission_data();
    void submission();
    void pastedValuesGoOutWhole();
    void altIFocusesTheButtonAndSubmits();
    void buttonKeys_data();
    void buttonKeys();
    void enterInAFieldDoesNotSubmit_data();
    void enterInAFieldDoesNotSubmit();
    void escapeDoesNotClose();
    void modalOpeningReturnsAfterSubmission();
    void waitsForTheAnswerStillResponsive();
    void unsentInvitationKeepsTheWindow_data();
    void unsentInvitationKeepsTheWindow();
    void pendingClickSendsNothingMore();
    void reopenedWindowIsEmpty();
    void resizingMovesNothing();

private:
    void open();
    void type(const char* field, const QString& text);
    QLineEdit* field(const char* name) const { return window->findChild<QLineEdit*>(name); }
    QPushButton* button() const { return window->findChild<QPushButton*>("InviaMail"); }
    QString focusName() const;
    QString highlighted() const;

    std::unique_ptr<QWidget> owner;
    std::unique_ptr<AnsweringBrowser> browser;
    QtMessageBoxes messages;
    std::unique_ptr<frmEMAIl> window;
};

void FrmEmailTest::initTestCase() {
    // The program's fonts, prepared as main() prepares them.
    look::preloadFonts().wait();
    look::registerFonts();
    owner = std::make_unique<QWidget>();
    owner->setGeometry(150, 120, 464, 319);
    owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(owner.get()));
}

void FrmEmailTest::init() {
    browser = std::make_unique<AnsweringBrowser>();
    window = std::make_unique<frmEMAIl>(*browser, messages, owner.get());
}

void FrmEmailTest::cleanup() {
    window.reset();
}

void FrmEmailTest::open() {
    window->show();
    QTRY_COMPARE(QApplication::activeWindow(), window.get());
}

// Types as the user does: a click into the field, then the keys.
void FrmEmailTest::type(const char* name, const QString& text) {
    QTest::mouseClick(field(name), Qt::LeftButton);
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, field(name), c == u' ' ? Qt::Key_Space : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    }
}

QString FrmEmailTest::focusName() const {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

// The yellow fields, as named; a field in any colour but yellow or the window background
// shows as "name?".
QString FrmEmailTest::highlighted() const {
    QStringList names;
    for (const char* name : kFields) {
        const QLineEdit* f = field(name);
        const QColor shown = f->palette().color(QPalette::Base);
        if (look::backColor(f) == look::kYellow && shown == QColor(Qt::yellow)) {
            names << QString::fromLatin1(name);
        } else if (look::backColor(f) != look::kWindowBackground ||
                   shown != look::toQColor(look::kWindowBackground)) {
            names << QString::fromLatin1(name) + u'?';
        }
    }
    return names.join(u',');
}

void FrmEmailTest::design_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRectF>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<uint>("fore");
    QTest::addColumn<uint>("back");
    QTest::addColumn<bool>("focusable");

    using namespace look;
    const uint text = kButtonText, face = kButtonFace, window = kWindowBackground;
    QTest::newRow("InviaMail") << "InviaMail"
                               << "QPushButton"
                               << "frmEMAIL" << QRectF(3915, 2655, 1590, 510) << "&Invia messaggio"
                               << "MS Sans Serif" << 8.25 << true << text << face << true;
    QTest::newRow("Frame2") << "Frame2"
                            << "QGroupBox"
                            << "frmEMAIL" << QRectF(90, 1170, 5415, 1320) << "I TUOI DATI"
                            << "Arial" << 8.25 << true << text << face << false;
    QTest::newRow("emailFROM") << "emailFROM"
                               << "QLineEdit"
                               << "Frame2" << QRectF(2430, 810, 2820, 360) << ""
                               << "Arial" << 9.75 << true << uint(kWindowText) << window << true;
    QTest::newRow("NomeFrom") << "NomeFrom"
                              << "QLineEdit"
                              << "Frame2" << QRectF(2430, 290, 2820, 360) << ""
                              << "Arial" << 9.75 << true << uint(kWindowText) << window << true;
    QTest::newRow("Label3") << "Label3"
                            << "QLabel"
                            << "Frame2" << QRectF(135, 855, 2535, 285) << "Il tuo indirizzo email:"
                            << "MS Sans Serif" << 8.25 << false << uint(kBlue) << face << false;
    QTest::newRow("Label2") << "Label2"
                            << "QLabel"
                            << "Frame2" << QRectF(135, 360, 2535, 285)
                            << "Il tuo nome (ad es. PAOLO):"
                            << "MS Sans Serif" << 8.25 << false << uint(kBlue) << face << false;
    QTest::newRow("Frame1") << "Frame1"
                            << "QGroupBox"
                            << "frmEMAIL" << QRectF(90, 90, 5415, 870) << "E-Mail del tuo AMICO"
                            << "Arial" << 8.25 << true << text << face << false;
    QTest::newRow("emailTO") << "emailTO"
                             << "QLineEdit"
                             << "Frame1" << QRectF(2430, 315, 2820, 360) << ""
                             << "Arial" << 9.75 << true << uint(kRed) << window << true;
    QTest::newRow("Label1") << "Label1"
                            << "QLabel"
                            << "Frame1" << QRectF(135, 360, 2535, 285)
                            << "Indirizzo e-mail del tuo AMICO:"
                            << "MS Sans Serif" << 8.25 << false << uint(kRed) << face << false;
}

void FrmEmailTest::design() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QRectF, twips);
    QFETCH(QString, text);
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(uint, fore);
    QFETCH(uint, back);
    QFETCH(bool, focusable);

    auto* w = window->findChild<QWidget*>(name);
    QVERIFY(w);
    QVERIFY(w->inherits(qPrintable(kind)));
    QCOMPARE(w->parentWidget()->objectName(), container);
    QVERIFY(w->isVisibleTo(window.get()));
    QVERIFY(w->isEnabled());

    const int left = look::twipsToPixels(twips.left());
    const int top = look::twipsToPixels(twips.top());
    QCOMPARE(w->geometry(), QRect(left, top, look::twipsToPixels(twips.right()) - left,
                                  look::twipsToPixels(twips.bottom()) - top));

    QString shown;
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        shown = b->text();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        shown = g->title();
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        shown = l->text();
        QVERIFY(l->autoFillBackground());
        QVERIFY(l->alignment() & Qt::AlignLeft);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        shown = e->text();
    }
    QCOMPARE(shown, text);

    QCOMPARE(w->font().family(), look::installedFamily(qPrintable(face)));
    QCOMPARE(QFontInfo(w->font()).family(), w->font().family());
    QCOMPARE(w->font().pointSizeF(), points);
    QCOMPARE(w->font().bold(), bold);
    QVERIFY(!w->font().italic() && !w->font().underline());

    QCOMPARE(look::foreColor(w), fore);
    QCOMPARE(look::backColor(w), back);
    QCOMPARE(w->palette().color(w->foregroundRole()), look::toQColor(fore));
    QCOMPARE(w->palette().color(w->backgroundRole()), look::toQColor(back));
    QCOMPARE(w->focusPolicy() != Qt::NoFocus, focusable);
}

void FrmEmailTest::fieldsCoverTheEndOfTheirCaptions() {
    open();
    for (const char* name : kFields) {
        QLineEdit* f = field(name);
        // A point over both the field's left edge and the caption label beneath it.
        const QPoint overlap = f->geometry().topLeft() + QPoint(3, 8);
        QCOMPARE(f->parentWidget()->childAt(overlap), f);
    }
}

// The dialog as drawn on the default light theme, pixel for pixel, when the desktop's theme is
// dark with large fonts.
void FrmEmailTest::coloursHoldUnderADarkLargeTheme() {
    const QImage light = window->grab().toImage();
    const DarkLargeTheme dark;
    QCOMPARE(window->grab().toImage(), light);
    frmEMAIl built(*browser, messages, owner.get());
    QCOMPARE(built.grab().toImage(), light);
}

void FrmEmailTest::windowSettings() {
    open();
    QCOMPARE(window->objectName(), QStringLiteral("frmEMAIL"));
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Quorvel è COMODO ed è GRATIS: dillo a un Amico!"));
    QCOMPARE(window->size(), QSize(375, 218));
    QVERIFY(window->minimumSize() != window->maximumSize());
    QVERIFY(!window->windowIcon().isNull());

    const Qt::WindowFlags flags = window->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                       Qt::WindowContextHelpButtonHint)));
    QCOMPARE(window->parentWidget(), owner.get());

    const QPoint offset = window->frameGeometry().center() - owner->frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("off centre by %1,%2").arg(offset.x()).arg(offset.y())));

    const QCursor hand = button()->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), look::handCursor().hotSpot());
    QCOMPARE(hand.pixmap().toImage(), look::handCursor().pixmap().toImage());
}

void FrmEmailTest::openingHighlightsTheFriendsAddress() {
    QCOMPARE(highlighted(), QString());
    open();
    QCOMPARE(focusName(), QStringLiteral("emailTO"));
    QCOMPARE(highlighted(), QStringLiteral("emailTO"));
}

void FrmEmailTest::tabAndShiftTabMoveTheHighlight() {
    open();
    const QStringList forward{"NomeFrom", "emailFROM", "InviaMail", "emailTO"};
    for (const QString& next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), next);
        QCOMPARE(highlighted(), next == "InviaMail" ? QString() : next);
    }
    const QStringList backward{"InviaMail", "emailFROM", "NomeFrom", "emailTO"};
    for (const QString& previous : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focusName(), previous);
        QCOMPARE(highlighted(), previous == "InviaMail" ? QString() : previous);
    }
}

void FrmEmailTest::clickFromFriendsAddressIntoOwnAddress() {
    open();
    QTest::mouseClick(field("emailFROM"), Qt::LeftButton);
    QCOMPARE(focusName(), QStringLiteral("emailFROM"));
    QCOMPARE(highlighted(), QStringLiteral("emailFROM"));
    // Clicking a caption or a frame takes no focus and changes nothing.
    QTest::mouseClick(window->findChild<QLabel*>("Label1"), Qt::LeftButton);
    QTest::mouseClick(window->findChild<QGroupBox*>("Frame2"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(focusName(), QStringLiteral("emailFROM"));
    QCOMPARE(highlighted(), QStringLiteral("emailFROM"));
}

void FrmEmailTest::submission_data() {
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("box");
    QTest::addColumn<Pairs>("sent");

    const auto sent = [](const QString& to, const QString& from, const QString& name) {
        return Pairs{{"MAIL_DEST", to}, {"MAIL_MIT", from}, {"NomeAmico", name}};
    };
    const QString name = QStringLiteral("PAOLO");
    const QString from = QStringLiteral("paolo@casa.it");

    QTest::newRow("empty") << "" << name << from << kEmpty << Pairs();
    QTest::newRow("only spaces") << "        " << name << from << kEmpty << Pairs();
    QTest::newRow("five characters") << "a@b.c" << name << from << kMalformed << Pairs();
    QTest::newRow("six characters")
        << "ab@c.d" << name << from << kThanks << sent("ab@c.d", from, name);
    QTest::newRow("no at sign") << "amico.posta.it" << name << from << kMalformed << Pairs();
    QTest::newRow("no dot") << "amico@posta" << name << from << kMalformed << Pairs();
    QTest::newRow("only dot before the at sign")
        << "a.mico@posta" << name << from << kMalformed << Pairs();
    QTest::newRow("dot right after the at sign")
        << "amico@.it" << name << from << kThanks << sent("amico@.it", from, name);
    QTest::newRow("dot last") << "amico@posta." << name << from << kThanks
                              << sent("amico@posta.", from, name);
    QTest::newRow("nothing before the at sign")
        << "@posta.it" << name << from << kThanks << sent("@posta.it", from, name);
    QTest::newRow("several at signs")
        << "a@b@posta.it" << name << from << kThanks << sent("a@b@posta.it", from, name);
    QTest::newRow("surrounding spaces not counted")
        << "   a@b.c   " << name << from << kMalformed << Pairs();
    QTest::newRow("surrounding spaces not sent")
        << "   ab@c.d   "
        << "  PAOLO "
        << " paolo@casa.it  " << kThanks << sent("ab@c.d", "paolo@casa.it", "PAOLO");
    QTest::newRow("inner spaces kept")
        << "mario rossi@posta.it"
        << "Maria  Luisa"
        << "io @ casa.it" << kThanks
        << sent("mario rossi@posta.it", "io @ casa.it", "Maria  Luisa");
    QTest::newRow("own name and address empty") << "amico@posta.it"
                                                << ""
                                                << "" << kThanks << sent("amico@posta.it", "", "");
    QTest::newRow("query characters and accents")
        << "a&b=c#d+e%f@posta.it"
        << "Niccolò & Zoë = #1"
        << "io+tag@più.it" << kThanks
        << sent("a&b=c#d+e%f@posta.it", "io+tag@più.it", "Niccolò & Zoë = #1");
}

void FrmEmailTest::submission() {
    QFETCH(QString, to);
    QFETCH(QString, name);
    QFETCH(QString, from);
    QFETCH(QString, box);
    QFETCH(Pairs, sent);

    open();
    type("emailTO", to);
    type("NomeFrom", name);
    type("emailFROM", from);
    BoxAnswerer answerer(window.get());
    QTest::mouseClick(button(), Qt::LeftButton);

    QTRY_COMPARE(answerer.boxes.size(), 1);
    const BoxAnswerer::Box& shown = answerer.boxes.first();
    QCOMPARE(shown.text, box);
    QCOMPARE(shown.title, kTitle);

    if (sent.isEmpty()) {
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QVERIFY(browser->urls.isEmpty());
        QVERIFY(window->isVisible());
        QCOMPARE(field("emailTO")->text(), to);
        QCOMPARE(field("NomeFrom")->text(), name);
        QCOMPARE(field("emailFROM")->text(), from);
        QTRY_COMPARE(focusName(), QStringLiteral("emailTO"));
        QCOMPARE(highlighted(), QStringLiteral("emailTO"));
        return;
    }
    QCOMPARE(shown.icon, QMessageBox::Information);
    QVERIFY(!shown.windowVisible);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Accepted));

    QCOMPARE(browser->urls.size(), 1);
    const QUrl url(browser->urls.first(), QUrl::StrictMode);
    QVERIFY(url.isValid());
    QCOMPARE(url.toString(QUrl::RemoveQuery),
             QStringLiteral("http://www.brivanta.example/quorvel_sendmail.asp"));
    QCOMPARE(QUrlQuery(url).queryItems(QUrl::FullyDecoded), sent);
}

// Far beyond QLineEdit's default limit of 32,767 characters, and pasted as users paste.
void FrmEmailTest::pastedValuesGoOutWhole() {
    const QString to = QStringLiteral("amico@posta.it") + QString(99'986, u'a');
    const QString name = QString(40'000, u'N');
    const QString from = QString(40'000, u'f') + QStringLiteral("@casa.it");
    open();
    for (const auto& [fieldName, value] :
         {std::pair{"emailTO", to}, std::pair{"NomeFrom", name}, std::pair{"emailFROM", from}}) {
        QGuiApplication::clipboard()->setText(value);
        QTest::mouseClick(field(fieldName), Qt::LeftButton);
        QTest::keyClick(field(fieldName), Qt::Key_V, Qt::ControlModifier);
    }
    BoxAnswerer answerer(window.get());
    QTest::mouseClick(button(), Qt::LeftButton);

    QTRY_COMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().text, kThanks);
    QCOMPARE(browser->urls.size(), 1);
    QCOMPARE(QUrlQuery(QUrl(browser->urls.first())).queryItems(QUrl::FullyDecoded),
             (Pairs{{"MAIL_DEST", to}, {"MAIL_MIT", from}, {"NomeAmico", name}}));
}

void FrmEmailTest::altIFocusesTheButtonAndSubmits() {
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    // What the user sees as the button goes down.
    QString focusOnPress;
    QString highlightOnPress;
    connect(button(), &QPushButton::pressed, this, [&] {
        focusOnPress = focusName();
        highlightOnPress = highlighted();
    });
    BoxAnswerer answerer(window.get());
    QTest::keyClick(field("emailTO"), Qt::Key_I, Qt::AltModifier);

    QTRY_COMPARE(answerer.boxes.size(), 1);
    QCOMPARE(focusOnPress, QStringLiteral("InviaMail"));
    QCOMPARE(highlightOnPress, QString());
    QCOMPARE(answerer.boxes.first().text, kThanks);
    QCOMPARE(browser->urls.size(), 1);
    QVERIFY(!window->isVisible());
}

void FrmEmailTest::buttonKeys_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Return") << Qt::Key_Return;
    QTest::newRow("keypad Enter") << Qt::Key_Enter;
    QTest::newRow("Space") << Qt::Key_Space;
}

void FrmEmailTest::buttonKeys() {
    QFETCH(Qt::Key, key);
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(focusName(), QStringLiteral("InviaMail"));
    BoxAnswerer answerer(window.get());
    QTest::keyClick(button(), key);
    QTRY_COMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().text, kThanks);
    QCOMPARE(browser->urls.size(), 1);
}

void FrmEmailTest::enterInAFieldDoesNotSubmit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::Key>("key");
    for (const char* name : kFields) {
        QTest::addRow("%s Return", name) << QString::fromLatin1(name) << Qt::Key_Return;
        QTest::addRow("%s Enter", name) << QString::fromLatin1(name) << Qt::Key_Enter;
    }
}

void FrmEmailTest::enterInAFieldDoesNotSubmit() {
    QFETCH(QString, name);
    QFETCH(Qt::Key, key);
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    QTest::mouseClick(field(qPrintable(name)), Qt::LeftButton);
    BoxAnswerer answerer(window.get());
    QTest::keyClick(field(qPrintable(name)), key);
    QCoreApplication::processEvents();
    QVERIFY(answerer.boxes.isEmpty());
    QVERIFY(browser->urls.isEmpty());
    QVERIFY(window->isVisible());
    QCOMPARE(focusName(), name);
}

void FrmEmailTest::escapeDoesNotClose() {
    bool openAfterEscape = false;
    QTimer::singleShot(0, this, [&] {
        if (QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); })) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QCoreApplication::processEvents();
            openAfterEscape = window->isVisible();
        }
        window->close();
    });
    QCOMPARE(window->exec(), int(QDialog::Rejected));
    QVERIFY(openAfterEscape);
    QVERIFY(!window->isVisible());
    QVERIFY(browser->urls.isEmpty());
}

void FrmEmailTest::modalOpeningReturnsAfterSubmission() {
    BoxAnswerer answerer(window.get());
    bool blocked = false;
    QTimer::singleShot(0, this, [&] {
        blocked = QApplication::activeModalWidget() == window.get();
        type("emailTO", QStringLiteral("amico@posta.it"));
        QTest::mouseClick(button(), Qt::LeftButton);
    });
    QCOMPARE(window->exec(), int(QDialog::Accepted));
    QVERIFY(blocked);
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().text, kThanks);
    QCOMPARE(browser->urls.size(), 1);
}

// While the server's answer is awaited the pointer is busy, and the window goes on working: it
// repaints, takes typing, and a second click sends nothing. Closed meanwhile, it gives up.
void FrmEmailTest::waitsForTheAnswerStillResponsive() {
    browser->holdAnswers = true;
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    BoxAnswerer answerer(window.get());
    QTest::mouseClick(button(), Qt::LeftButton);
    QCOMPARE(browser->held(), 1);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);

    type("NomeFrom", QStringLiteral("PAOLO"));
    QCOMPARE(field("NomeFrom")->text(), QStringLiteral("PAOLO"));
    QCOMPARE(highlighted(), QStringLiteral("NomeFrom"));
    QTest::mouseClick(button(), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(browser->urls.size(), 1);
    QVERIFY(answerer.boxes.isEmpty());
    QVERIFY(window->isVisible());

    browser->answer(shell::FetchOutcome::Answered);
    QTRY_COMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().text, kThanks);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    window = std::make_unique<frmEMAIl>(*browser, messages, owner.get());
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    QTest::mouseClick(button(), Qt::LeftButton);
    QCOMPARE(browser->held(), 1);
    window.reset();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    browser->answer(shell::FetchOutcome::Answered);
    QTest::qWait(50);
    QCOMPARE(answerer.boxes.size(), 1);
}

void FrmEmailTest::unsentInvitationKeepsTheWindow_data() {
    QTest::addColumn<shell::FetchOutcome>("outcome");
    QTest::addColumn<QString>("box");
    const QString notSent = QStringLiteral("Il messaggio NON è stato inviato: ");
    QTest::newRow("server refused")
        << shell::FetchOutcome::Refused
        << notSent + "il server di Brivanta lo ha rifiutato. Riprova più tardi.";
    QTest::newRow("no answer") << shell::FetchOutcome::NoAnswer
                               << notSent + "il server non risponde. Riprova più tardi.";
    QTest::newRow("no connection")
        << shell::FetchOutcome::NoConnection
        << notSent + "nessuna connessione con il sito di Brivanta. Controlla la connessione a "
                     "Internet e riprova.";
    QTest::newRow("browser not started")
        << shell::FetchOutcome::NotSent
        << notSent + "non è stato possibile avviare il browser. Riprova più tardi.";
}

// Nothing reached the server: the user is told why, and keeps everything typed for another try.
void FrmEmailTest::unsentInvitationKeepsTheWindow() {
    QFETCH(shell::FetchOutcome, outcome);
    QFETCH(QString, box);
    browser->outcome = outcome;
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    type("NomeFrom", QStringLiteral("PAOLO"));
    type("emailFROM", QStringLiteral("paolo@casa.it"));
    BoxAnswerer answerer(window.get());
    QTest::mouseClick(button(), Qt::LeftButton);

    QTRY_COMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().icon, QMessageBox::Warning);
    QCOMPARE(answerer.boxes.first().title, kTitle);
    QCOMPARE(answerer.boxes.first().text, box);
    QVERIFY(answerer.boxes.first().windowVisible);
    QVERIFY(window->isVisible());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(field("emailTO")->text(), QStringLiteral("amico@posta.it"));
    QCOMPARE(field("NomeFrom")->text(), QStringLiteral("PAOLO"));
    QCOMPARE(field("emailFROM")->text(), QStringLiteral("paolo@casa.it"));

    // The user tries again once the server can be reached.
    browser->outcome = shell::FetchOutcome::Answered;
    QTest::mouseClick(button(), Qt::LeftButton);
    QTRY_COMPARE(answerer.boxes.size(), 2);
    QCOMPARE(answerer.boxes[1].text, kThanks);
    QCOMPARE(browser->urls.size(), 2);
    QCOMPARE(browser->urls[1], browser->urls[0]);
    QVERIFY(!window->isVisible());
}

void FrmEmailTest::pendingClickSendsNothingMore() {
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    QSignalSpy clicks(button(), &QPushButton::clicked);
    BoxAnswerer answerer(window.get());
    // Alt+I clicks the button a moment later; the mouse gets there first.
    QTest::keyClick(field("emailTO"), Qt::Key_I, Qt::AltModifier);
    QTest::mouseClick(button(), Qt::LeftButton);
    QTRY_COMPARE(clicks.count(), 2);
    QTRY_COMPARE(answerer.boxes.size(), 1);
    QCOMPARE(browser->urls.size(), 1);
}

void FrmEmailTest::reopenedWindowIsEmpty() {
    open();
    type("emailTO", QStringLiteral("amico@posta.it"));
    type("NomeFrom", QStringLiteral("PAOLO"));
    type("emailFROM", QStringLiteral("paolo@casa.it"));
    BoxAnswerer answerer(window.get());
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QVERIFY(answerer.boxes.isEmpty());

    window = std::make_unique<frmEMAIl>(*browser, messages, owner.get());
    open();
    for (const char* name : kFields) {
        QCOMPARE(field(name)->text(), QString());
    }
    QCOMPARE(focusName(), QStringLiteral("emailTO"));
    QCOMPARE(highlighted(), QStringLiteral("emailTO"));
    QVERIFY(browser->urls.isEmpty());
}

void FrmEmailTest::resizingMovesNothing() {
    open();
    QList<QRect> before;
    for (const char* name : kControls) {
        before << window->findChild<QWidget*>(name)->geometry();
    }
    for (const QSize size : {QSize(600, 420), QSize(200, 120), QSize(375, 218)}) {
        window->resize(size);
        QTRY_COMPARE(window->size(), size);
        QList<QRect> after;
        for (const char* name : kControls) {
            after << window->findChild<QWidget*>(name)->geometry();
        }
        QCOMPARE(after, before);
    }
}

QTEST_MAIN(FrmEmailTest)
#include "test_frm_email.moc"
