#include "form1.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {

// Screen readers name the menu as its title says, without the access key's mark.
QMenu* addMenu(QMenuBar* bar, const char* name, const char* title, const char* spokenTitle) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    menu->setObjectName(QLatin1String(name));
    menu->setAccessibleName(QString::fromUtf8(spokenTitle));
    return menu;
}

// An entry and its window shortcut. Qt takes a window shortcut before the focused field sees
// the key, so that no shortcut ever reaches the fields' key rules as a character.
QAction* addEntry(QMenu* menu, const char* name, const char* text, const QKeySequence& shortcut,
                  bool available, std::function<void()> choose) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setEnabled(available);
    QObject::connect(action, &QAction::triggered, menu, std::move(choose));
    return action;
}

} // namespace

void Form1::createMenus() {
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    // In the window, also on desktops that offer to show it apart: the window is drawn with it.
    MenuBar->setNativeMenuBar(false);
    MenuBar->setAccessibleName(QStringLiteral("Barra dei menu"));

    QMenu* mnuFile = addMenu(MenuBar, "mnuFile", "&File", "File");
    QAction* mnuConverti =
        addEntry(mnuFile, "mnuConverti", "&Converti un elenco…", QKeySequence(Qt::CTRL | Qt::Key_O),
                 static_cast<bool>(tools_.convertList), [this] { tools_.convertList(this); });
    mnuConverti->setToolTip(QString::fromUtf8("Converte un elenco CSV, TSV, .xlsx o .ods; si può "
                                              "anche trascinare l'elenco sulla finestra."));
    mnuFile->setToolTipsVisible(true);
    mnuFile->addSeparator();
    // The window manager's own close key: the entry only names it, and closes the same way.
    addEntry(mnuFile, "mnuEsci", "&Esci", QKeySequence(Qt::ALT | Qt::Key_F4), true,
             [this] { close(); });

    QMenu* mnuStrumenti = addMenu(MenuBar, "mnuStrumenti", "&Strumenti", "Strumenti");
    addEntry(mnuStrumenti, "mnuVerifica", "&Verifica un IBAN…", QKeySequence(Qt::CTRL | Qt::Key_R),
             static_cast<bool>(tools_.verifyIban),
             [this] { tools_.verifyIban(this, txtIBAN->text()); });
    addEntry(mnuStrumenti, "mnuCalcola", "&Calcola IBAN", QKeySequence(Qt::Key_F5), true,
             [this] { CalcolaIBAN_Click(); });
    addEntry(mnuStrumenti, "mnuCopia", "Copia IBAN", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
             true, [this] { CopyIBAN_Click(); });
    addEntry(mnuStrumenti, "mnuSvuota", "S&vuota tutto", QKeySequence(), true,
             [this] { SvuotaCampi_Click(); });

    QMenu* mnuAiuto = addMenu(MenuBar, "mnuAiuto", "&?", "Aiuto");
    addEntry(mnuAiuto, "mnuGuida", "&Guida", QKeySequence(Qt::Key_F1),
             static_cast<bool>(tools_.showHelp), [this] { tools_.showHelp(this); });
    addEntry(mnuAiuto, "mnuInformazioni", "&Informazioni su Brivanta IBAN…", QKeySequence(),
             static_cast<bool>(tools_.showAbout), [this] { tools_.showAbout(this); });
}
