// The menu bar as a user meets it: its menus and entries, each entry's shortcut typed in every
// bank field reaching its command and never the field's text, and the menus opened with the
// keyboard alone.

#include "font_preload.h"
#include "form_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

namespace {

const char* const kFields[] = {"txtABI", "txtCAB", "txtCC"};
const QString kIban = QStringLiteral("IT65D012340098700000AB12345");
const QString kHeld = QStringLiteral("appunti di prima");

// Every tool records that it ran, with what it was handed, and the window it was handed.
struct Recorder {
    QStringList calls;
    QList<QWidget*> windows;

    Form1Tools tools() {
        Form1Tools t;
        auto note = [this](QWidget* window, const QString& call) {
            calls << call;
            windows << window;
        };
        t.verifyIban = [note](QWidget* w, const QString& iban) { note(w, "verifica " + iban); };
        t.convertList = [note](QWidget* w) { note(w, QStringLiteral("converti")); };
        t.showHelp = [note](QWidget* w) { note(w, QStringLiteral("guida")); };
        t.showAbout = [note](QWidget* w) { note(w, QStringLiteral("informazioni")); };
        return t;
    }
};

// The main window with the bank codes typed, and the IBAN computed when asked; the clipboard
// holds another program's text.
struct Typed {
    Recorder recorder;
    FormFixture f{recorder.tools()};
    bool calculated;

    explicit Typed(bool calculate) : calculated(calculate) {
        QGuiApplication::clipboard()->setText(kHeld);
        f.typeCodes("1234", "987", "AB12345");
        if (calculate) {
            QTest::mouseClick(f.control("CalcolaIBAN"), Qt::LeftButton);
        }
    }

    QLineEdit* field(const char* name) { return f.control<QLineEdit>(name); }

    QStringList texts() {
        return {field("txtABI")->text(), field("txtCAB")->text(), field("txtCC")->text(),
                field("txtIBAN")->text()};
    }

    // What the entry did, as seen from outside the window.
    QString effect() {
        if (!recorder.calls.isEmpty()) {
            return recorder.calls.join('|');
        }
        if (!f.form().isVisible()) {
            return QStringLiteral("chiusa");
        }
        if (QGuiApplication::clipboard()->text() != kHeld) {
            return QStringLiteral("copiato ") + QGuiApplication::clipboard()->text();
        }
        if (texts() == QStringList{"", "", "", ""}) {
            return QStringLiteral("svuotato");
        }
        if (!calculated && !field("txtIBAN")->text().isEmpty()) {
            return QStringLiteral("calcolato ") + field("txtIBAN")->text();
        }
        return QString();
    }
};

} // namespace

class MenuBarTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        look::preloadFonts().wait();
        look::registerFonts();
    }

    void menus();
    void shortcutsReachTheirCommandsNotTheFields_data();
    void shortcutsReachTheirCommandsNotTheFields();
    void entriesChosenWithTheKeyboard_data();
    void entriesChosenWithTheKeyboard();
    void missingToolsAreDisabled();
};

// The menus and their entries, with access keys and shortcuts, in order.
void MenuBarTest::menus() {
    Recorder recorder;
    FormFixture f(recorder.tools());
    QStringList seen;
    for (const QAction* menuAction : f.control<QMenuBar>("MenuBar")->actions()) {
        seen << menuAction->text();
        for (const QAction* entry : menuAction->menu()->actions()) {
            seen << (entry->isSeparator() ? QStringLiteral("  -")
                                          : QStringLiteral("  ") + entry->text() + ' ' +
                                                entry->shortcut().toString());
        }
    }
    const QStringList expected = {
        "&File",
        "  &Converti un elenco… Ctrl+O",
        "  -",
        "  &Esci Alt+F4",
        "&Strumenti",
        "  &Verifica un IBAN… Ctrl+R",
        "  &Calcola IBAN F5",
        "  Copia IBAN Ctrl+Shift+C",
        "  S&vuota tutto ",
        "&?",
        "  &Guida F1",
        "  &Informazioni su Brivanta IBAN… ",
    };
    QCOMPARE(seen, expected);
    // The entry that converts tells that a list may be dropped too, where the mouse rests.
    auto* convert = f.form().findChild<QAction*>(QStringLiteral("mnuConverti"));
    QVERIFY(convert->toolTip().contains(QStringLiteral("trascinare")));
    QVERIFY(f.form().findChild<QMenu*>(QStringLiteral("mnuFile"))->toolTipsVisible());
}

void MenuBarTest::shortcutsReachTheirCommandsNotTheFields_data() {
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<QString>("effect");
    const struct {
        const char* name;
        QKeySequence shortcut;
        bool calculated;
        QString effect;
    } rows[] = {
        {"Converti un elenco", QKeySequence(Qt::CTRL | Qt::Key_O), false, "converti"},
        {"Esci", QKeySequence(Qt::ALT | Qt::Key_F4), false, "chiusa"},
        {"Verifica un IBAN", QKeySequence(Qt::CTRL | Qt::Key_R), true, "verifica " + kIban},
        {"Calcola IBAN", QKeySequence(Qt::Key_F5), false, "calcolato " + kIban},
        {"Copia IBAN", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), true, "copiato " + kIban},
        {"Guida", QKeySequence(Qt::Key_F1), false, "guida"},
    };
    for (const auto& row : rows) {
        for (const char* field : kFields) {
            QTest::addRow("%s in %s", row.name, field)
                << row.shortcut << row.calculated << row.effect;
        }
    }
}

// Typed with the bank codes in the fields: the command runs once, and no field changes (the
// account, not full, would take a character if one came through).
void MenuBarTest::shortcutsReachTheirCommandsNotTheFields() {
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, calculated);
    QFETCH(QString, effect);
    Typed typed(calculated);
    QVERIFY(typed.f.waitActive());
    QLineEdit* focused =
        typed.field(qPrintable(QString::fromLatin1(QTest::currentDataTag()).section(' ', -1)));
    QTest::mouseClick(focused, Qt::LeftButton);
    QVERIFY(focused->hasFocus());
    QStringList before = typed.texts();

    QTest::keySequence(focused, shortcut);
    QTRY_COMPARE(typed.effect(), effect);
    if (effect.startsWith(QStringLiteral("calcolato"))) {
        before[3] = kIban;
    }
    QCOMPARE(typed.texts(), before);
    for (QWidget* window : typed.recorder.windows) {
        QCOMPARE(window, &typed.f.form());
    }
}

void MenuBarTest::entriesChosenWithTheKeyboard_data() {
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<QList<int>>("keys"); // the first with Alt
    QTest::addColumn<QString>("effect");
    QTest::newRow("Alt+F C") << false << QList<int>{Qt::Key_F, Qt::Key_C} << "converti";
    QTest::newRow("Alt+F E") << false << QList<int>{Qt::Key_F, Qt::Key_E} << "chiusa";
    // Opened from the keyboard, the menu highlights its first entry. Two entries share the
    // access key V: it moves on to the next of them, and Enter chooses.
    QTest::newRow("Alt+S Enter") << true << QList<int>{Qt::Key_S, Qt::Key_Return}
                                 << "verifica " + kIban;
    QTest::newRow("Alt+S V Enter")
        << true << QList<int>{Qt::Key_S, Qt::Key_V, Qt::Key_Return} << "svuotato";
    QTest::newRow("Alt+S V V Enter")
        << true << QList<int>{Qt::Key_S, Qt::Key_V, Qt::Key_V, Qt::Key_Return}
        << "verifica " + kIban;
    QTest::newRow("Alt+S C") << false << QList<int>{Qt::Key_S, Qt::Key_C} << "calcolato " + kIban;
    // "Copia IBAN" has no access key: the arrows reach it.
    QTest::newRow("Alt+S Down Down Enter")
        << true << QList<int>{Qt::Key_S, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}
        << "copiato " + kIban;
    QTest::newRow("Alt+? G") << false << QList<int>{Qt::Key_Question, Qt::Key_G} << "guida";
    QTest::newRow("Alt+? I") << false << QList<int>{Qt::Key_Question, Qt::Key_I} << "informazioni";
}

// The menu opens with Alt and its access key from a field, the entry is chosen with its own
// key or the arrows; the window's tools receive the main window.
void MenuBarTest::entriesChosenWithTheKeyboard() {
    QFETCH(bool, calculated);
    QFETCH(QList<int>, keys);
    QFETCH(QString, effect);
    Typed typed(calculated);
    QVERIFY(typed.f.waitActive());
    QLineEdit* txtCC = typed.field("txtCC");
    QTest::mouseClick(txtCC, Qt::LeftButton);

    QTest::keyClick(txtCC, Qt::Key(keys.front()), Qt::AltModifier);
    for (const int key : keys.mid(1)) {
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(key));
    }
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QTRY_COMPARE(typed.effect(), effect);
    for (QWidget* window : typed.recorder.windows) {
        QCOMPARE(window, &typed.f.form());
    }
}

// A window without a tool shows its entry, disabled, and leaves it out of the IBAN field's
// context menu; the calculator's own entries are always there.
void MenuBarTest::missingToolsAreDisabled() {
    FormFixture f;
    QStringList enabled;
    for (const QAction* action : f.form().findChildren<QAction*>()) {
        if (action->objectName().startsWith(QStringLiteral("mnu")) && action->isEnabled()) {
            enabled << action->objectName();
        }
    }
    enabled.sort();
    QCOMPARE(enabled, (QStringList{"mnuCalcola", "mnuCopia", "mnuEsci", "mnuSvuota"}));
    QCOMPARE(f.control("txtIBAN")->contextMenuPolicy(), Qt::DefaultContextMenu);
}

QTEST_MAIN(MenuBarTest)
#include "tst_menu_bar.moc"
