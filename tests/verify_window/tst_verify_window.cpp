#include "accessible_controls.h"
#include "desktop_theme.h"
#include "look.h"
#include "verify_window.h"
#include "verify_window_opener.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <cmath>

namespace {

template <typename... Valori> void riga(const char* nome, const Valori&... valori) {
    (QTest::newRow(nome) << ... << valori);
}

const QString kNo = QStringLiteral("—");

QClipboard& appunti() {
    return *QGuiApplication::clipboard();
}

QString testo(const QWidget& finestra, const char* nome) {
    return finestra.findChild<QLabel*>(QLatin1String(nome))->text();
}

// The suggestion buttons on show, by their captions.
QStringList suggerimenti(const QWidget& finestra) {
    QStringList testi;
    for (int i = 1; i <= VerifyWindow::kSuggerimenti; ++i) {
        const auto* pulsante =
            finestra.findChild<QPushButton*>(QStringLiteral("cmdSuggerimento%1").arg(i));
        if (pulsante->isVisible()) {
            testi << pulsante->text();
        }
    }
    return testi;
}

// A window on screen and active, as the opener shows it.
struct Aperta {
    Aperta() : finestra(appunti()) {
        finestra.show();
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        campo = finestra.findChild<QLineEdit*>(QStringLiteral("txtIBAN"));
        campo->setFocus();
    }

    VerifyWindow finestra;
    QLineEdit* campo = nullptr;
};

} // namespace

class TestVerifyWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void risultatoMentreSiScrive_data();
    void risultatoMentreSiScrive();
    void nessunRossoPrimaDellaFine_data();
    void nessunRossoPrimaDellaFine();
    void verdettoLeggibileSuTemaScuro();
    void suggerimentoNelCampo();
    void copia_data();
    void copia();
    void escChiude();
    void incollaTestoLungo();
    void nomiAccessibili();
    void apertura_data();
    void apertura();
    void riaperturaPortaAvantiLaStessa();
};

void TestVerifyWindow::initTestCase() {
    accessibility::install();
}

void TestVerifyWindow::init() {
    appunti().clear();
}

void TestVerifyWindow::risultatoMentreSiScrive_data() {
    QTest::addColumn<QString>("scritto");
    QTest::addColumn<QString>("esito");
    QTest::addColumn<look::VbColor>("colore");
    QTest::addColumn<QString>("motivo");
    QTest::addColumn<QStringList>("parti");
    QTest::addColumn<QStringList>("forme");
    QTest::addColumn<QStringList>("suggeriti");

    const QStringList esempio = {"IT", "60", "X", "05428", "11101", "000000123456"};
    const QStringList formeEsempio = {"IT60X0542811101000000123456",
                                      "IT60 X054 2811 1010 0000 0123 456",
                                      "IT 60 X 05428 11101 000000123456"};
    riga("valid, as printed in lower case", QStringLiteral("it60 x054 2811 1010 0000 0123 456"),
         QStringLiteral("Valido"), look::kGreen, QString(), esempio, formeEsempio, QStringList());
    riga("wrong CIN, right check digits", QStringLiteral("IT65A0542811101000000123456"),
         QStringLiteral("Non valido"), look::kRed,
         QStringLiteral("Il CIN A non torna con ABI, CAB e conto, anche se le cifre di "
                        "controllo tornano: probabilmente c'è un errore in ABI, CAB o nel conto."),
         QStringList{"IT", "65", "A", "05428", "11101", "000000123456"},
         QStringList{"IT65A0542811101000000123456", "IT65 A054 2811 1010 0000 0123 456",
                     "IT 65 A 05428 11101 000000123456"},
         QStringList());
    riga("two digits swapped", QStringLiteral("IT60X0542811101000000123465"),
         QStringLiteral("Non valido"), look::kRed,
         QStringLiteral("Né il CIN né le cifre di controllo tornano con ABI, CAB e conto: "
                        "probabilmente c'è un errore di battitura in ABI, CAB o nel conto. "
                        "Controlla i suggerimenti."),
         QStringList{"IT", "60", "X", "05428", "11101", "000000123465"},
         QStringList{"IT60X0542811101000000123465", "IT60 X054 2811 1010 0000 0123 465",
                     "IT 60 X 05428 11101 000000123465"},
         QStringList{"IT60 X054 2811 1010 0000 0113 465", "IT60 X054 2811 1010 0000 0123 456"});
    riga("another country", QStringLiteral("GB29 NWBK 6016 1331 9268 19"), QStringLiteral("Valido"),
         look::kGreen,
         QStringLiteral("Controllati lunghezza, formato e cifre di controllo; gli eventuali "
                        "controlli nazionali degli IBAN del Regno Unito (GB) non sono stati "
                        "fatti."),
         QStringList{"GB", "29", kNo, kNo, kNo, kNo},
         QStringList{"GB29NWBK60161331926819", "GB29 NWBK 6016 1331 9268 19", kNo}, QStringList());
    riga("still short of its country's length", QStringLiteral("IT60 X054"), QStringLiteral("…"),
         look::kWindowText, QStringLiteral("Mancano ancora 19 caratteri."),
         QStringList{"IT", kNo, kNo, kNo, kNo, kNo}, QStringList{"IT60X054", "IT60 X054", kNo},
         QStringList());
    riga("the start of a label", QStringLiteral("Codice IB"), QStringLiteral("…"),
         look::kWindowText, QString(), QStringList{kNo, kNo, kNo, kNo, kNo, kNo},
         QStringList{kNo, kNo, kNo}, QStringList());
    riga("refused character", QStringLiteral("IT60/X054"), QStringLiteral("Non valido"), look::kRed,
         QStringLiteral("Il carattere «/» in posizione 5 non può stare in un IBAN."),
         QStringList{kNo, kNo, kNo, kNo, kNo, kNo}, QStringList{kNo, kNo, kNo}, QStringList());
}

// Typed key by key, the result follows the text.
void TestVerifyWindow::risultatoMentreSiScrive() {
    QFETCH(QString, scritto);
    QFETCH(QString, esito);
    QFETCH(look::VbColor, colore);
    QFETCH(QString, motivo);
    QFETCH(QStringList, parti);
    QFETCH(QStringList, forme);
    QFETCH(QStringList, suggeriti);

    Aperta a;
    QCOMPARE(testo(a.finestra, "lblEsito"), QString());
    QTest::keyClicks(a.campo, scritto);
    QCOMPARE(a.campo->text(), scritto);
    const auto* lblEsito = a.finestra.findChild<QLabel*>(QStringLiteral("lblEsito"));
    QCOMPARE(lblEsito->text(), esito);
    QCOMPARE(lblEsito->palette().color(QPalette::WindowText), look::toQColor(colore));
    QCOMPARE(testo(a.finestra, "lblMotivo"), motivo);
    const QStringList trovate = {
        testo(a.finestra, "lblPaese"), testo(a.finestra, "lblCifreControllo"),
        testo(a.finestra, "lblCIN"),   testo(a.finestra, "lblABI"),
        testo(a.finestra, "lblCAB"),   testo(a.finestra, "lblConto")};
    QCOMPARE(trovate, parti);
    const QStringList formeTrovate = {testo(a.finestra, "lblElettronico"),
                                      testo(a.finestra, "lblCartaceo"),
                                      testo(a.finestra, "lblPerCampi")};
    QCOMPARE(formeTrovate, forme);
    QCOMPARE(suggerimenti(a.finestra), suggeriti);
}

// A suggestion, chosen from the keyboard, goes into the field and checks valid.
void TestVerifyWindow::suggerimentoNelCampo() {
    Aperta a;
    QTest::keyClicks(a.campo, QStringLiteral("IT61X0542811101000000123456"));
    QCOMPARE(suggerimenti(a.finestra), QStringList{"IT60 X054 2811 1010 0000 0123 456"});
    QTest::keyClick(a.campo, Qt::Key_Tab);
    auto* pulsante = a.finestra.findChild<QPushButton*>(QStringLiteral("cmdSuggerimento1"));
    QCOMPARE(QApplication::focusWidget(), pulsante);
    QTest::keyClick(pulsante, Qt::Key_Return);
    QCOMPARE(a.campo->text(), QStringLiteral("IT60X0542811101000000123456"));
    QCOMPARE(testo(a.finestra, "lblEsito"), QStringLiteral("Valido"));
    QVERIFY(!pulsante->isVisible());
}

// Typed key by key, an IBAN is not called wrong while it is still being written: "…" until it
// is whole, then its verdict.
void TestVerifyWindow::nessunRossoPrimaDellaFine_data() {
    QTest::addColumn<QString>("iban");
    QTest::addColumn<QString>("esito");
    riga("Italian, printed", QStringLiteral("IT60 X054 2811 1010 0000 0123 456"),
         QStringLiteral("Valido"));
    riga("British", QStringLiteral("GB29NWBK60161331926819"), QStringLiteral("Valido"));
    riga("label first", QStringLiteral("Codice IBAN: SM86U0322509800000000270100"),
         QStringLiteral("Valido"));
    riga("last digit mistyped", QStringLiteral("IT60X0542811101000000123465"),
         QStringLiteral("Non valido"));
}

void TestVerifyWindow::nessunRossoPrimaDellaFine() {
    QFETCH(QString, iban);
    QFETCH(QString, esito);
    Aperta a;
    const auto* lblEsito = a.finestra.findChild<QLabel*>(QStringLiteral("lblEsito"));
    auto* copia = a.finestra.findChild<QPushButton*>(QStringLiteral("cmdCopia"));
    for (qsizetype n = 0; n < iban.size() - 1; ++n) {
        QTest::keyClick(a.campo, iban[n].toLatin1());
        const QString scritto = iban.left(n + 1);
        QVERIFY2(lblEsito->text().isEmpty() || lblEsito->text() == QStringLiteral("…"),
                 qPrintable(scritto + QStringLiteral(": ") + lblEsito->text()));
        QVERIFY(!copia->isEnabled());
    }
    QTest::keyClick(a.campo, iban.back().toLatin1());
    QCOMPARE(lblEsito->text(), esito);
}

// On a dark desktop theme the verdict's green and red are lightened until they read well.
void TestVerifyWindow::verdettoLeggibileSuTemaScuro() {
    const DarkLargeTheme tema;
    Aperta a;
    const auto* lblEsito = a.finestra.findChild<QLabel*>(QStringLiteral("lblEsito"));
    const QColor sfondo = a.finestra.palette().color(QPalette::Window);
    const auto luminanza = [](const QColor& c) {
        const auto lineare = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lineare(c.redF()) + 0.7152 * lineare(c.greenF()) +
               0.0722 * lineare(c.blueF());
    };
    for (const auto& [iban, tinta] : {std::pair{"IT60X0542811101000000123456", 120},
                                      std::pair{"IT60X0542811101000000123465", 0}}) {
        a.campo->clear();
        QTest::keyClicks(a.campo, QString::fromLatin1(iban));
        const QColor inchiostro = lblEsito->palette().color(QPalette::WindowText);
        QCOMPARE(inchiostro.hue(), tinta);
        QVERIFY2((luminanza(inchiostro) + 0.05) / (luminanza(sfondo) + 0.05) >= 3,
                 qPrintable(inchiostro.name()));
    }
}

// "Copia" copies the electronic form of a valid IBAN only; otherwise it is disabled, and its
// tooltip, which screen readers read as its description, says why.
void TestVerifyWindow::copia_data() {
    QTest::addColumn<QString>("scritto");
    QTest::addColumn<QString>("suggerimento");
    QTest::addColumn<QString>("copiato");
    riga("valid, with a label", QStringLiteral("iban: sm86 u032 2509 8000 0000 0270 100"),
         QStringLiteral("Copia negli appunti la forma elettronica."),
         QStringLiteral("SM86U0322509800000000270100"));
    riga("empty", QString(),
         QStringLiteral("Scrivi o incolla un IBAN: si copia solo un IBAN valido."), QString());
    riga("still being typed", QStringLiteral("IT60 X054"),
         QStringLiteral("L'IBAN non è ancora completo: si copia solo un IBAN valido."), QString());
    riga("whole but wrong", QStringLiteral("IT60X0542811101000000123465"),
         QStringLiteral("L'IBAN non è valido: si copia solo un IBAN valido."), QString());
    riga("refused character", QStringLiteral("IT#"),
         QStringLiteral("L'IBAN non è valido: si copia solo un IBAN valido."), QString());
}

void TestVerifyWindow::copia() {
    QFETCH(QString, scritto);
    QFETCH(QString, suggerimento);
    QFETCH(QString, copiato);
    Aperta a;
    auto* copia = a.finestra.findChild<QPushButton*>(QStringLiteral("cmdCopia"));
    QCOMPARE(copia->text(), QStringLiteral("Copia"));
    QTest::keyClicks(a.campo, scritto);
    QCOMPARE(copia->isEnabled(), !copiato.isEmpty());
    // The mouse resting on the button shows the tooltip, disabled or not.
    QHelpEvent aiuto(QEvent::ToolTip, copia->rect().center(),
                     copia->mapToGlobal(copia->rect().center()));
    QApplication::sendEvent(copia, &aiuto);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), suggerimento);
    QToolTip::hideText();
    appunti().setText(QStringLiteral("prima"));
    QTest::mouseClick(copia, Qt::LeftButton);
    QCOMPARE(appunti().text(), copiato.isEmpty() ? QStringLiteral("prima") : copiato);
}

void TestVerifyWindow::escChiude() {
    Aperta a;
    QTest::keyClicks(a.campo, QStringLiteral("IT60"));
    QTest::keyClick(a.campo, Qt::Key_Escape);
    QVERIFY(!a.finestra.isVisible());
}

// A long paste arrives whole: the reason counts all of it.
void TestVerifyWindow::incollaTestoLungo() {
    Aperta a;
    appunti().setText(QStringLiteral("IT") + QString(39998, u'0'));
    QTest::keyClick(a.campo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(a.campo->text().size(), 40000);
    QCOMPARE(testo(a.finestra, "lblMotivo"),
             QStringLiteral("Gli IBAN italiani (IT) hanno 27 caratteri, questo ne ha 40000."));
}

// Every control says what it is, in Italian, to assistive technology.
void TestVerifyWindow::nomiAccessibili() {
    Aperta a;
    QTest::keyClicks(a.campo, QStringLiteral("IT60X0542811101000000123465"));
    // A window, as screen readers list the main window, by its title.
    const QAccessibleInterface* finestra = QAccessible::queryAccessibleInterface(&a.finestra);
    QCOMPARE(finestra->role(), QAccessible::Window);
    QCOMPARE(finestra->text(QAccessible::Name), QStringLiteral("Verifica IBAN"));
    const QList<QWidget*> controlli = a.finestra.findChildren<QWidget*>();
    QVERIFY(controlli.size() > 25);
    for (QWidget* controllo : controlli) {
        if (!controllo->isVisible()) {
            continue;
        }
        const QAccessibleInterface* accessibile = QAccessible::queryAccessibleInterface(controllo);
        QVERIFY(accessibile != nullptr);
        QVERIFY2(!accessibile->text(QAccessible::Name).isEmpty(),
                 qPrintable(controllo->objectName() + QStringLiteral(" ") +
                            controllo->metaObject()->className()));
    }
    const auto* primo = a.finestra.findChild<QPushButton*>(QStringLiteral("cmdSuggerimento1"));
    QCOMPARE(primo->accessibleName(),
             QStringLiteral("Usa il suggerimento IT60 X054 2811 1010 0000 0113 465"));
    QCOMPARE(a.finestra.findChild<QPushButton*>(QStringLiteral("cmdCopia"))->accessibleName(),
             QStringLiteral("Copia la forma elettronica"));
}

void TestVerifyWindow::apertura_data() {
    QTest::addColumn<QString>("campoIBAN");
    QTest::addColumn<QString>("appunti");
    QTest::addColumn<QString>("iniziale");
    QTest::addColumn<QRect>("principale");
    QTest::addColumn<bool>("accanto");

    // The offscreen screen is 800 by 600 pixels.
    const QRect piccola(10, 20, 200, 150);
    const QRect grande(100, 100, 600, 400);
    riga("the IBAN field's text", QStringLiteral("IT60X0542811101000000123456"),
         QStringLiteral("DE89370400440532013000"), QStringLiteral("IT60X0542811101000000123456"),
         piccola, true);
    riga("the clipboard's IBAN", QString(), QStringLiteral(" de89 3704 0044 0532 0130 00\n"),
         QStringLiteral("de89 3704 0044 0532 0130 00"), grande, false);
    riga("the clipboard's other text", QString(), QStringLiteral("Fattura 2024/118"), QString(),
         piccola, true);
}

void TestVerifyWindow::apertura() {
    QFETCH(QString, campoIBAN);
    QFETCH(QString, appunti);
    QFETCH(QString, iniziale);
    QFETCH(QRect, principale);
    QFETCH(bool, accanto);

    QWidget finestraPrincipale;
    finestraPrincipale.setGeometry(principale);
    finestraPrincipale.show();
    ::appunti().setText(appunti);
    VerifyWindowOpener apri(::appunti());
    apri.open(&finestraPrincipale, campoIBAN);
    VerifyWindow* finestra = apri.window();
    QVERIFY(finestra != nullptr);
    QVERIFY(finestra->isVisible());
    QCOMPARE(finestra->windowTitle(), QStringLiteral("Verifica IBAN"));
    QCOMPARE(finestra->parentWidget(), &finestraPrincipale);
    // Modeless: the calculator stays usable.
    QCOMPARE(finestra->windowModality(), Qt::NonModal);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(QTest::qWaitForWindowActive(finestra));
    QCOMPARE(finestra->findChild<QLineEdit*>(QStringLiteral("txtIBAN"))->text(), iniziale);
    // Beside the main window, top edges level, where the screen has room; else over its middle.
    if (accanto) {
        QVERIFY(!finestra->frameGeometry().intersects(finestraPrincipale.frameGeometry()));
        QCOMPARE(finestra->y(), finestraPrincipale.y());
    } else {
        QVERIFY(finestra->geometry().contains(finestraPrincipale.geometry().center()));
    }
}

// One window: opened again while on screen it comes forward as it is; closed and opened
// again it starts afresh from the IBAN field.
void TestVerifyWindow::riaperturaPortaAvantiLaStessa() {
    QWidget principale;
    principale.show();
    VerifyWindowOpener apri(appunti());
    apri.open(&principale, QStringLiteral("IT60X0542811101000000123456"));
    VerifyWindow* finestra = apri.window();
    auto* campo = finestra->findChild<QLineEdit*>(QStringLiteral("txtIBAN"));
    QVERIFY(QTest::qWaitForWindowActive(finestra));
    QTest::keyClick(campo, Qt::Key_Backspace);

    principale.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&principale));
    apri.open(&principale, QStringLiteral("SM86U0322509800000000270100"));
    QCOMPARE(apri.window(), finestra);
    QVERIFY(QTest::qWaitForWindowActive(finestra));
    QCOMPARE(campo->text(), QStringLiteral("IT60X054281110100000012345"));

    QTest::keyClick(campo, Qt::Key_Escape);
    QVERIFY(!finestra->isVisible());
    apri.open(&principale, QStringLiteral("SM86U0322509800000000270100"));
    QCOMPARE(apri.window(), finestra);
    QVERIFY(finestra->isVisible());
    QCOMPARE(campo->text(), QStringLiteral("SM86U0322509800000000270100"));
}

QTEST_MAIN(TestVerifyWindow)
#include "tst_verify_window.moc"
