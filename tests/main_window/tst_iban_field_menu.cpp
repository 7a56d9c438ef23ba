#include "form_fixture.h"
#include "qt_texts.h"

#include <QAction>
#include <QMenu>

namespace {

// What the menu showed, and what choosing an entry handed over.
struct Visto {
    QStringList voci;
    QStringList scelte;
    QWidget* finestra = nullptr;
};

// Once the context menu is open: records its entries, then goes up from the bottom by `su`
// entries with the arrow keys and presses Enter, as a user would.
void scegliQuandoAperto(const std::shared_ptr<Visto>& visto, int su, int tentativi = 500) {
    QTimer::singleShot(10, [visto, su, tentativi] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (tentativi > 0) {
                scegliQuandoAperto(visto, su, tentativi - 1);
            }
            return;
        }
        for (const QAction* azione : menu->actions()) {
            visto->voci << (azione->isSeparator() ? QStringLiteral("-") : azione->text());
        }
        for (int i = 0; i < su; ++i) {
            QTest::keyClick(menu, Qt::Key_Up);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

} // namespace

class TestIbanFieldMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installItalianQtTexts(*QCoreApplication::instance())); }
    void vociDopoQuelleDiQt();
};

// The tools' entries come after Qt's own; the one chosen runs after the menu has closed, with
// the main window and, for the check, the IBAN field's text.
void TestIbanFieldMenu::vociDopoQuelleDiQt() {
    auto visto = std::make_shared<Visto>();
    Form1Tools strumenti;
    strumenti.verifyIban = [visto](QWidget* finestra, const QString& iban) {
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        visto->scelte << QStringLiteral("verifica ") + iban;
        visto->finestra = finestra;
    };
    strumenti.convertList = [visto](QWidget* finestra) {
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        visto->scelte << QStringLiteral("converti");
        visto->finestra = finestra;
    };
    FormFixture f(std::move(strumenti));
    QVERIFY(f.waitActive());
    f.calculate("5428", "11101", "123456");
    auto* txtIBAN = f.control<QLineEdit>("txtIBAN");
    QCOMPARE(txtIBAN->text(), QStringLiteral("IT60X0542811101000000123456"));

    // The last entry but one: "Verifica un IBAN…".
    scegliQuandoAperto(visto, 2);
    QContextMenuEvent clic(QContextMenuEvent::Mouse, txtIBAN->rect().center(),
                           txtIBAN->mapToGlobal(txtIBAN->rect().center()));
    QApplication::sendEvent(txtIBAN, &clic);
    QTRY_COMPARE(visto->scelte,
                 QStringList{QStringLiteral("verifica IT60X0542811101000000123456")});
    QCOMPARE(visto->finestra, &f.form());
    const int separatore = int(visto->voci.lastIndexOf(QStringLiteral("-")));
    QVERIFY(separatore > 0);
    QCOMPARE(visto->voci.mid(separatore + 1), (QStringList{QStringLiteral("Verifica un IBAN…"),
                                                           QStringLiteral("Converti un elenco…")}));
    const std::unique_ptr<QMenu> diQt(txtIBAN->createStandardContextMenu());
    QVERIFY(visto->voci.contains(diQt->actions().first()->text()));
    // Qt's own entries speak Italian, as the rest of the program does.
    QVERIFY2(visto->voci.first().startsWith(QStringLiteral("&Copia\t")),
             qPrintable(visto->voci.join('|')));

    // The last one, from the keyboard's menu key.
    scegliQuandoAperto(visto, 1);
    QContextMenuEvent tasto(QContextMenuEvent::Keyboard, QPoint(2, 2),
                            txtIBAN->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(txtIBAN, &tasto);
    QTRY_COMPARE(visto->scelte.size(), 2);
    QCOMPARE(visto->scelte.last(), QStringLiteral("converti"));
}

QTEST_MAIN(TestIbanFieldMenu)
#include "tst_iban_field_menu.moc"
