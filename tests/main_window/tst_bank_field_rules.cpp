#include "font_preload.h"
#include "form_fixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTestEventList>

namespace {

const char* const kFields[] = {"txtABI", "txtCAB", "txtCC"};

// What the user types, in order: texts and single keys.
class Keys {
public:
    Keys& type(const QString& text) {
        events_.addKeyClicks(text);
        return *this;
    }
    Keys& key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        events_.addKeyClick(key, modifiers);
        return *this;
    }
    Keys& ctrl(Qt::Key key) { return this->key(key, Qt::ControlModifier); }
    operator QTestEventList() const { return events_; }

private:
    QTestEventList events_;
};

QTestEventList keys(const QString& text) {
    return Keys().type(text);
}
QTestEventList ctrl(Qt::Key key) {
    return Keys().ctrl(key);
}

} // namespace

class BankFieldRulesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program's fonts, prepared as main() prepares them.
        look::preloadFonts().wait();
        look::registerFonts();
    }
    void init();
    void cleanup() { f_.reset(); }

    void keyRule_data();
    void keyRule();
    void controlCodes_data();
    void controlCodes();
    void autoRepeatStopsAtTheLimit();
    void severalCharactersInOneKeyEvent();
    void accentedLetterKey();
    void inputMethodCommit_data();
    void inputMethodCommit();
    void changeRuleOnAssignedText_data();
    void changeRuleOnAssignedText();
    void changeRuleSettlesAfterOneReplacement();
    void innerSpaceKeepsTheCaret();
    void pasteFromContextMenuSkipsKeyRule_data();
    void pasteFromContextMenuSkipsKeyRule();
    void enterChain_data();
    void enterChain();
    void tabKeepsOneFieldYellow();
    void mouseFocus_data();
    void mouseFocus();
    void ibanFieldIsReadOnlyAndCopyable();

private:
    QLineEdit* field(const char* name) { return f_->control<QLineEdit>(name); }
    QString yellowFields() const;
    void focus(const char* name);

    std::unique_ptr<FormFixture> f_;
};

void BankFieldRulesTest::init() {
    f_ = std::make_unique<FormFixture>();
    QVERIFY(f_->waitActive());
    QTRY_VERIFY(field("txtABI")->hasFocus());
}

// The names of the highlighted fields; the others must show the normal background.
QString BankFieldRulesTest::yellowFields() const {
    QStringList yellow;
    for (const char* name : kFields) {
        const look::VbColor back = look::backColor(f_->control(name));
        if (back == look::kYellow) {
            yellow << QLatin1String(name);
        } else if (back != look::kWindowBackground) {
            yellow << QStringLiteral("%1 has %2").arg(QLatin1String(name)).arg(back, 0, 16);
        }
    }
    return yellow.join(u',');
}

void BankFieldRulesTest::focus(const char* name) {
    QTest::mouseClick(f_->control(name), Qt::LeftButton);
    QTRY_VERIFY(f_->control(name)->hasFocus());
}

void BankFieldRulesTest::keyRule_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QTestEventList>("typed");
    QTest::addColumn<QString>("after");

    auto row = [](const char* tag, const char* name, const char* before, bool selectAll,
                  const QTestEventList& typed, const char* after) {
        QTest::newRow(tag) << name << before << selectAll << typed << after;
    };
    row("ABI full refuses a digit", "txtABI", "12345", false, keys("6"), "12345");
    row("ABI full refuses even all selected", "txtABI", "12345", true, keys("6"), "12345");
    row("ABI backspace after refusal admits one digit", "txtABI", "12345", false,
        Keys().type("6").key(Qt::Key_Backspace).type("78"), "12347");
    row("ABI stops at five typed digits", "txtABI", "", false, keys("1234567"), "12345");
    row("ABI short text with selection takes a digit", "txtABI", "123", true, keys("9"), "9");
    row("CAB refuses a letter", "txtCAB", "", false, keys("a"), "");
    row("CAB refuses a space", "txtCAB", "", false, keys(" "), "");
    row("CAB refuses a minus", "txtCAB", "", false, keys("-"), "");
    row("CAB refuses all but digits", "txtCAB", "", false, keys("aZ+./,;:'^_@#*"), "");
    row("CAB takes digits among refusals", "txtCAB", "", false, keys("1a2-3"), "123");
    row("CC takes letters and punctuation", "txtCC", "", false, keys("ab/1.C"), "ab/1.C");
    row("CC full refuses a letter", "txtCC", "ABCDEFGHIJKL", false, keys("M"), "ABCDEFGHIJKL");
    row("CC full refuses a space", "txtCC", "ABCDEFGHIJKL", true, keys(" "), "ABCDEFGHIJKL");
    row("CC full takes backspace, then one character", "txtCC", "ABCDEFGHIJKL", false,
        Keys().key(Qt::Key_Backspace).type("XY"), "ABCDEFGHIJKX");
    row("CC stops at twelve typed characters", "txtCC", "", false, keys("ABCDEFGHIJKLMNOP"),
        "ABCDEFGHIJKL");
    row("CC leading space vanishes", "txtCC", "", false, keys(" a"), "a");
    row("CC trailing space vanishes", "txtCC", "", false, keys("ab c"), "abc");
    row("CC inner space stays", "txtCC", "", false, Keys().type("ac").key(Qt::Key_Left).type(" "),
        "a c");
    row("ABI full: Delete types nothing and works", "txtABI", "12345", false,
        Keys().key(Qt::Key_Home).key(Qt::Key_Delete), "2345");
}

void BankFieldRulesTest::keyRule() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(bool, selectAll);
    QFETCH(QTestEventList, typed);
    QFETCH(QString, after);
    QLineEdit* f = field(qPrintable(name));
    focus(qPrintable(name));
    f->setText(before);
    if (selectAll) {
        f->selectAll();
    }
    typed.simulate(f);
    QCOMPARE(f->text(), after);
    QCOMPARE(yellowFields(), name);
}

void BankFieldRulesTest::controlCodes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QTestEventList>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboardAfter");

    auto row = [](const char* tag, const char* name, const char* before,
                  const QTestEventList& typed, const char* after, const char* clipboard) {
        QTest::newRow(tag) << name << before << typed << after << clipboard;
    };
    // The clipboard holds "987" and the field's text is all selected before each row.
    row("ABI refuses Ctrl+V", "txtABI", "", ctrl(Qt::Key_V), "", "987");
    row("ABI refuses Ctrl+C", "txtABI", "12", ctrl(Qt::Key_C), "12", "987");
    row("ABI refuses Ctrl+X", "txtABI", "12", ctrl(Qt::Key_X), "12", "987");
    row("ABI refuses Ctrl+A", "txtABI", "12", Keys().key(Qt::Key_End).ctrl(Qt::Key_A).type("3"),
        "123", "987");
    row("ABI refuses Escape", "txtABI", "12", Keys().key(Qt::Key_Escape), "12", "987");
    row("CAB refuses Ctrl+Z", "txtCAB", "", Keys().type("45").ctrl(Qt::Key_Z), "45", "987");
    row("CC below twelve takes Ctrl+V", "txtCC", "", ctrl(Qt::Key_V), "987", "987");
    row("CC below twelve takes Ctrl+C", "txtCC", "ab", ctrl(Qt::Key_C), "ab", "ab");
    row("CC full refuses Ctrl+V", "txtCC", "ABCDEFGHIJKL", ctrl(Qt::Key_V), "ABCDEFGHIJKL", "987");
    row("CC full refuses Ctrl+X", "txtCC", "ABCDEFGHIJKL", ctrl(Qt::Key_X), "ABCDEFGHIJKL", "987");
    row("CC full takes Ctrl+L", "txtCC", "ABCDEFGHIJKL", ctrl(Qt::Key_L), "ABCDEFGHIJKL", "987");
}

void BankFieldRulesTest::controlCodes() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QTestEventList, typed);
    QFETCH(QString, after);
    QFETCH(QString, clipboardAfter);
    QGuiApplication::clipboard()->setText(QStringLiteral("987"));
    QLineEdit* f = field(qPrintable(name));
    focus(qPrintable(name));
    f->setText(before);
    f->selectAll();
    typed.simulate(f);
    QCOMPARE(f->text(), after);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
}

void BankFieldRulesTest::autoRepeatStopsAtTheLimit() {
    QLineEdit* abi = field("txtABI");
    for (int i = 0; i < 9; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"), i > 0);
        QApplication::sendEvent(abi, &press);
    }
    QCOMPARE(abi->text(), QStringLiteral("77777"));
}

void BankFieldRulesTest::severalCharactersInOneKeyEvent() {
    QLineEdit* abi = field("txtABI");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1x2345678"));
    QApplication::sendEvent(abi, &press);
    QCOMPARE(abi->text(), QStringLiteral("12345"));
}

void BankFieldRulesTest::accentedLetterKey() {
    for (const char* name : {"txtCAB", "txtCC"}) {
        focus(name);
        QTest::sendKeyEvent(QTest::Click, field(name), Qt::Key_Egrave, QString::fromUtf8("è"),
                            Qt::NoModifier);
    }
    QCOMPARE(field("txtCAB")->text(), QString());
    QCOMPARE(field("txtCC")->text(), QString::fromUtf8("è"));
}

void BankFieldRulesTest::inputMethodCommit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("after");

    QTest::newRow("ABI keeps digits up to five") << "txtABI"
                                                 << ""
                                                 << "12a34567"
                                                 << "12345";
    QTest::newRow("ABI full takes nothing") << "txtABI"
                                            << "12345"
                                            << "6"
                                            << "12345";
    QTest::newRow("CAB refuses accented letters") << "txtCAB"
                                                  << "" << QString::fromUtf8("èé9") << "9";
    QTest::newRow("CC stops at twelve")
        << "txtCC"
        << "ABCDEFGHIJ" << QString::fromUtf8("ñòpq") << QString::fromUtf8("ABCDEFGHIJñò");
    // Each space lands at the end of the text as it is committed, and vanishes there.
    QTest::newRow("CC trims spaces at the end") << "txtCC"
                                                << ""
                                                << " a b "
                                                << "ab";
}

void BankFieldRulesTest::inputMethodCommit() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, commit);
    QFETCH(QString, after);
    QLineEdit* f = field(qPrintable(name));
    focus(qPrintable(name));
    f->setText(before);

    QInputMethodEvent composing(QStringLiteral("~"), {});
    QApplication::sendEvent(f, &composing);
    QInputMethodEvent committed;
    committed.setCommitString(commit);
    QApplication::sendEvent(f, &committed);
    QCOMPARE(f->text(), after);
    QVERIFY(!f->hasSelectedText());
}

void BankFieldRulesTest::changeRuleOnAssignedText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("shown");

    QTest::newRow("spaces at both ends") << "txtABI"
                                         << "  12 3  "
                                         << "12 3";
    QTest::newRow("tab is not a space") << "txtCAB"
                                        << "\t12 "
                                        << "\t12";
    QTest::newRow("no-break space stays")
        << "txtCC" << QString::fromUtf8("\u00a0ab ") << QString::fromUtf8("\u00a0ab");
    QTest::newRow("letters in ABI stay") << "txtABI"
                                         << "AB"
                                         << "AB";
    QTest::newRow("more than five digits stay") << "txtCAB"
                                                << "1234567"
                                                << "1234567";
    QTest::newRow("more than twelve in CC stay") << "txtCC"
                                                 << "ABCDEFGHIJKLMNOP"
                                                 << "ABCDEFGHIJKLMNOP";
    QTest::newRow("only spaces") << "txtCC"
                                 << "    "
                                 << "";
}

void BankFieldRulesTest::changeRuleOnAssignedText() {
    QFETCH(QString, name);
    QFETCH(QString, assigned);
    QFETCH(QString, shown);
    field(qPrintable(name))->setText(assigned);
    QCOMPARE(field(qPrintable(name))->text(), shown);
}

void BankFieldRulesTest::changeRuleSettlesAfterOneReplacement() {
    QLineEdit* cc = field("txtCC");
    QSignalSpy changes(cc, &QLineEdit::textChanged);
    cc->setText(QStringLiteral("  a  "));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(cc->text(), QStringLiteral("a"));
    cc->setText(QStringLiteral("b"));
    QCOMPARE(changes.count(), 3);
}

void BankFieldRulesTest::innerSpaceKeepsTheCaret() {
    QLineEdit* cc = field("txtCC");
    focus("txtCC");
    QTest::keyClicks(cc, QStringLiteral("abcd"));
    cc->setCursorPosition(2);
    QTest::keyClicks(cc, QStringLiteral(" x"));
    QCOMPARE(cc->text(), QStringLiteral("ab xcd"));
    QCOMPARE(cc->cursorPosition(), 4);
}

void BankFieldRulesTest::pasteFromContextMenuSkipsKeyRule_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");

    QTest::newRow("letters into ABI") << "txtABI"
                                      << "12a456789"
                                      << "12a456789";
    QTest::newRow("spaces around trimmed") << "txtCAB"
                                           << "  678 90  "
                                           << "678 90";
    QTest::newRow("beyond twelve into CC") << "txtCC"
                                           << "ABCDEFGHIJKLMNO"
                                           << "ABCDEFGHIJKLMNO";
}

void BankFieldRulesTest::pasteFromContextMenuSkipsKeyRule() {
    QFETCH(QString, name);
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    QGuiApplication::clipboard()->setText(clipboard);
    QLineEdit* f = field(qPrintable(name));
    focus(qPrintable(name));

    // The field's own context menu, opened as a right click opens it.
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5), f->mapToGlobal(QPoint(5, 5)));
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            return;
        }
        // The Paste entry, known by the shortcut it shows beside its caption.
        const QString shortcut =
            QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions()) {
            if (action->text().endsWith(u'\t' + shortcut)) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            }
        }
    });
    QApplication::sendEvent(f, &open);
    QTRY_COMPARE(f->text(), shown);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    // The menu took the keyboard for a while; the field kept its highlight.
    QCOMPARE(yellowFields(), name);
}

void BankFieldRulesTest::enterChain_data() {
    QTest::addColumn<QString>("abi");
    QTest::addColumn<QString>("cab");
    QTest::addColumn<QString>("account");

    QTest::newRow("all empty") << ""
                               << ""
                               << "";
    QTest::newRow("partial") << "12"
                             << ""
                             << "ab";
    QTest::newRow("full") << "12345"
                          << "67890"
                          << "ABCDEFGHIJKL";
}

void BankFieldRulesTest::enterChain() {
    QFETCH(QString, abi);
    QFETCH(QString, cab);
    QFETCH(QString, account);
    field("txtABI")->setText(abi);
    field("txtCAB")->setText(cab);
    field("txtCC")->setText(account);

    const struct {
        const char* from;
        const char* to;
        const char* yellow;
    } steps[] = {
        {"txtABI", "txtCAB", "txtCAB"}, {"txtCAB", "txtCC", "txtCC"}, {"txtCC", "CalcolaIBAN", ""}};
    QCOMPARE(yellowFields(), QStringLiteral("txtABI"));
    for (const auto& step : steps) {
        QCOMPARE(QApplication::focusWidget(), f_->control(step.from));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f_->control(step.to));
        QCOMPARE(yellowFields(), QLatin1String(step.yellow));
    }
    // Nothing typed, nothing computed, no box.
    QCOMPARE(field("txtABI")->text(), abi);
    QCOMPARE(field("txtCAB")->text(), cab);
    QCOMPARE(field("txtCC")->text(), account);
    QVERIFY(field("txtIBAN")->text().isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void BankFieldRulesTest::tabKeepsOneFieldYellow() {
    const char* expected[] = {"txtCAB", "txtCC", "", "", "", "", "", "", "txtABI"};
    for (const char* yellow : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(yellowFields(), QLatin1String(yellow));
    }
}

void BankFieldRulesTest::mouseFocus_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("yellow");

    QTest::newRow("ABI straight to CC") << QStringList{"txtCC"} << "txtCC";
    QTest::newRow("CC back to ABI") << QStringList{"txtCC", "txtABI"} << "txtABI";
    QTest::newRow("CAB then CC") << QStringList{"txtCAB", "txtCC"} << "txtCC";
    QTest::newRow("CC to Calculate button") << QStringList{"txtCC", "CalcolaIBAN"} << "";
    QTest::newRow("CAB to result field") << QStringList{"txtCAB", "txtIBAN"} << "";
    QTest::newRow("result field to CAB") << QStringList{"txtIBAN", "txtCAB"} << "txtCAB";
    QTest::newRow("clear button keeps none") << QStringList{"SvuotaCampi"} << "";
}

void BankFieldRulesTest::mouseFocus() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, yellow);
    // Complete fields, so that a click on the Calculate button shows no warning.
    field("txtABI")->setText(QStringLiteral("12345"));
    field("txtCAB")->setText(QStringLiteral("67890"));
    field("txtCC")->setText(QStringLiteral("87"));
    for (const QString& name : clicks) {
        focus(qPrintable(name));
    }
    QCOMPARE(yellowFields(), yellow);
}

void BankFieldRulesTest::ibanFieldIsReadOnlyAndCopyable() {
    QLineEdit* iban = field("txtIBAN");
    focus("txtIBAN");
    QTest::keyClicks(iban, QStringLiteral("12 ab"));
    QVERIFY(iban->text().isEmpty());

    field("txtABI")->setText(QStringLiteral("12345"));
    field("txtCAB")->setText(QStringLiteral("67890"));
    field("txtCC")->setText(QStringLiteral("87"));
    QTest::mouseClick(f_->control("CalcolaIBAN"), Qt::LeftButton);
    focus("txtIBAN");
    QTest::keyClick(iban, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(iban, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("IT98F1234567890000000000087"));
    QCOMPARE(iban->text(), QStringLiteral("IT98F1234567890000000000087"));
}

QTEST_MAIN(BankFieldRulesTest)
#include "tst_bank_field_rules.moc"
