#include "font_preload.h"
#include "form_fixture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kEarlierIban = QStringLiteral("IT23R1234567890000000001234");
const QString kFillAll = QStringLiteral("Compilare ABI, CAB e Nr. del CONTO.");

// MOD 97-10: the IBAN with its first four characters moved to the end, letters as 10-35.
int mod97(const QString& iban) {
    const QString moved = iban.mid(4) + iban.left(4);
    int r = 0;
    for (QChar c : moved) {
        const int v = c.isDigit() ? c.digitValue() : c.unicode() - 'A' + 10;
        r = (v >= 10 ? r * 100 : r * 10) + v;
        r %= 97;
    }
    return r;
}

} // namespace

class CalcolaIbanClickTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program's fonts, prepared as main() prepares them.
        look::preloadFonts().wait();
        look::registerFonts();
    }
    void init();
    void cleanup() { f_.reset(); }

    void computes_data();
    void computes();
    void warnsAndFocusesFirstEmptyField_data();
    void warnsAndFocusesFirstEmptyField();
    void refusesPastedInputBeyondWidths_data();
    void refusesPastedInputBeyondWidths();
    void activatedFromKeyboard_data();
    void activatedFromKeyboard();
    void accountOfPunctuationOnly();
    void enterInAccountComputesNothing();

private:
    QLineEdit* field(const char* name) { return f_->control<QLineEdit>(name); }
    void click() { QTest::mouseClick(f_->control("CalcolaIBAN"), Qt::LeftButton); }
    void expectFocusAfterBox(const char* name);

    std::unique_ptr<FormFixture> f_;
};

void CalcolaIbanClickTest::init() {
    f_ = std::make_unique<FormFixture>();
    QVERIFY(f_->waitActive());
    // An IBAN computed earlier, so that a warning can be seen to leave it in place.
    f_->calculate("12345", "67890", "000000001234");
    QCOMPARE(field("txtIBAN")->text(), kEarlierIban);
    for (const char* name : {"txtABI", "txtCAB", "txtCC"}) {
        field(name)->setText(QString());
    }
}

// The field takes the focus within the window; the window gets it back once active again.
void CalcolaIbanClickTest::expectFocusAfterBox(const char* name) {
    QWidget* expected = f_->control(name);
    QCOMPARE(f_->form().focusWidget(), expected);
    f_->form().activateWindow();
    QTRY_VERIFY(expected->hasFocus());
    for (const char* field : {"txtABI", "txtCAB", "txtCC"}) {
        QCOMPARE(look::backColor(f_->control(field)),
                 qstrcmp(field, name) == 0 ? look::kYellow : look::kWindowBackground);
    }
}

void CalcolaIbanClickTest::computes_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("accountShown");
    QTest::addColumn<QString>("iban");

    auto row = [](const char* name, const char* abi, const char* cab, const char* account,
                  const char* shown, const char* iban) {
        QTest::newRow(name) << abi << cab << account << shown << iban;
    };
    // A space typed at the end of the account is trimmed at once, so the typed account has none.
    row("worked example, lower case", "1234", "987", "ab-12345", "AB-12345",
        "IT65D012340098700000AB12345");
    row("digits only", "12345", "67890", "000000001234", "000000001234",
        "IT23R1234567890000000001234");
    row("remainder 0 gives 98", "12345", "67890", "87", "87", "IT98F1234567890000000000087");
    row("remainder 1 gives 97", "12345", "67890", "102", "102", "IT97J1234567890000000000102");
    row("remainder 96 gives 02", "12345", "67890", "16", "16", "IT02L1234567890000000000016");
    row("short codes padded", "1", "1", "78", "78", "IT02J0000100001000000000078");
    // Upper-cased one character for one: the sharp s stays, and is then dropped.
    row("sharp s adds no letters", "12345", "67890", "\u00DF", "\u00DF",
        "IT26G1234567890000000000000");
    row("sharp s among letters", "12345", "67890", "\u00DFx\u00DF", "\u00DFX\u00DF",
        "IT26D123456789000000000000X");
}

void CalcolaIbanClickTest::computes() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, account);
    QFETCH(QString, accountShown);
    QFETCH(QString, iban);
    f_->calculate(abi, cab, account);
    QCOMPARE(field("txtIBAN")->text(), iban);
    QCOMPARE(field("txtCC")->text(), accountShown);
    QCOMPARE(mod97(field("txtIBAN")->text()), 1);
    // No box, and the focus stays on the button.
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(QApplication::focusWidget(), f_->control("CalcolaIBAN"));
}

void CalcolaIbanClickTest::warnsAndFocusesFirstEmptyField_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("accountShown");
    QTest::addColumn<QString>("focused");

    auto row = [](const char* name, const char* abi, const char* cab, const char* account,
                  const char* shown, const char* focused) {
        QTest::newRow(name) << abi << cab << account << shown << focused;
    };
    row("all empty", "", "", "", "", "txtABI");
    row("account empty", "12345", "67890", "", "", "txtCC");
    row("CAB and account empty", "12345", "", "", "", "txtCAB");
    row("ABI empty, account lower case", "", "67890", "ab-1", "AB-1", "txtABI");
    row("CAB empty, account upper-cased", "12345", "", "c/c-9x", "C/C-9X", "txtCAB");
}

void CalcolaIbanClickTest::warnsAndFocusesFirstEmptyField() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, account);
    QFETCH(QString, accountShown);
    QFETCH(QString, focused);
    f_->typeCodes(abi, cab, account);

    const auto seen = dismissNextBox();
    click();
    QVERIFY(seen->shown);
    QCOMPARE(seen->title, QStringLiteral("Quorvel"));
    QCOMPARE(seen->text, kFillAll);
    QCOMPARE(seen->icon, QMessageBox::Warning);
    QCOMPARE(seen->buttons, 1);

    expectFocusAfterBox(qPrintable(focused));
    QCOMPARE(field("txtCC")->text(), accountShown);
    QCOMPARE(field("txtIBAN")->text(), kEarlierIban);
}

void CalcolaIbanClickTest::refusesPastedInputBeyondWidths_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("focused");

    auto row = [](const char* name, const QString& abi, const QString& cab, const QString& account,
                  const QString& warning, const char* focused) {
        QTest::newRow(name) << abi << cab << account << warning << focused;
    };
    const QString tooLong = QStringLiteral(
        "Il numero del conto deve essere composto al massimo da 12 lettere e cifre; segni e "
        "spazi non contano.");
    row("ABI of six digits", "123456", "67890", "1234",
        "Il codice ABI deve essere composto al massimo da 5 cifre.", "txtABI");
    row("ABI with a letter", "12A45", "67890", "1234",
        "Il codice ABI deve contenere soltanto cifre.", "txtABI");
    row("CAB of six digits", "12345", "678901", "1234",
        "Il codice CAB deve essere composto al massimo da 5 cifre.", "txtCAB");
    row("account of thirteen letters and digits", "12345", "67890", "ABCDEFGHIJ123", tooLong,
        "txtCC");
    // Long pastes arrive whole: cut at 32,767 characters, each would give an IBAN instead.
    row("ABI of six digits after 40,000 zeros", QString(40'000, u'0') + "123456", "67890", "1234",
        "Il codice ABI deve essere composto al massimo da 5 cifre.", "txtABI");
    row("account of thirteen letters after 40,000 hyphens", "12345", "67890",
        QString(40'000, u'-') + "ABCDEFGHIJ123", tooLong, "txtCC");
}

void CalcolaIbanClickTest::refusesPastedInputBeyondWidths() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, account);
    QFETCH(QString, warning);
    QFETCH(QString, focused);
    // Text that arrives without typing: only the change rule sees it.
    field("txtABI")->setText(abi);
    field("txtCAB")->setText(cab);
    field("txtCC")->setText(account);

    const auto seen = dismissNextBox();
    click();
    QVERIFY(seen->shown);
    QCOMPARE(seen->title, QStringLiteral("Quorvel"));
    QCOMPARE(seen->text, warning);
    QCOMPARE(seen->icon, QMessageBox::Warning);
    expectFocusAfterBox(qPrintable(focused));
    QCOMPARE(field("txtIBAN")->text(), kEarlierIban);
}

void CalcolaIbanClickTest::activatedFromKeyboard_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Space") << Qt::Key_Space;
    QTest::newRow("Enter") << Qt::Key_Return;
}

void CalcolaIbanClickTest::activatedFromKeyboard() {
    QFETCH(Qt::Key, key);
    f_->typeCodes("12345", "67890", "87");
    auto* button = f_->control<QPushButton>("CalcolaIBAN");
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    QTest::keyClick(button, key);
    QCOMPARE(field("txtIBAN")->text(), QStringLiteral("IT98F1234567890000000000087"));
}

void CalcolaIbanClickTest::accountOfPunctuationOnly() {
    f_->calculate("12345", "67890", "-/.");
    QCOMPARE(field("txtIBAN")->text(), QStringLiteral("IT26G1234567890000000000000"));
    QCOMPARE(field("txtCC")->text(), QStringLiteral("-/."));
}

void CalcolaIbanClickTest::enterInAccountComputesNothing() {
    f_->typeCodes("12345", "67890", "87");
    QTest::keyClick(field("txtCC"), Qt::Key_Return);
    QCOMPARE(field("txtIBAN")->text(), kEarlierIban);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(CalcolaIbanClickTest)
#include "tst_calcola_iban_click.moc"
