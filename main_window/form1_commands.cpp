#include "form1.h"

#include "alfabeti.h"
#include "calcola_iban.h"
#include "message_boxes.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <memory>

void Form1::connectCommands() {
    connect(CalcolaIBAN, &QPushButton::clicked, this, &Form1::CalcolaIBAN_Click);
    connect(CopyIBAN, &QPushButton::clicked, this, &Form1::CopyIBAN_Click);
    connect(SvuotaCampi, &QPushButton::clicked, this, &Form1::SvuotaCampi_Click);
    if (tools_.verifyIban || tools_.convertList) {
        txtIBAN->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(txtIBAN, &QWidget::customContextMenuRequested, this, &Form1::txtIBAN_ContextMenu);
    }
}

// Qt's own entries, then the tools'; the chosen one runs once the menu has closed.
void Form1::txtIBAN_ContextMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(txtIBAN->createStandardContextMenu());
    menu->addSeparator();
    const QAction* verify =
        tools_.verifyIban ? menu->addAction(QString::fromUtf8("Verifica un IBAN…")) : nullptr;
    const QAction* convert =
        tools_.convertList ? menu->addAction(QString::fromUtf8("Converti un elenco…")) : nullptr;
    const QAction* chosen = menu->exec(txtIBAN->mapToGlobal(position));
    if (chosen == nullptr) {
        return;
    }
    if (chosen == verify) {
        tools_.verifyIban(this, txtIBAN->text());
    } else if (chosen == convert) {
        tools_.convertList(this);
    }
}

void Form1::CalcolaIBAN_Click() {
    // The account is shown upper-cased on every activation, also when a field is missing.
    txtCC->setText(Module1::alfabeti::maiuscolo(txtCC->text()));

    const Module1::EsitoCalcolo esito =
        Module1::CalcolaIBAN(txtABI->text(), txtCAB->text(), txtCC->text());
    if (esito.calcolato) {
        txtIBAN->setText(esito.iban);
        announceIban();
        return;
    }

    messages_.show(this, MessageBoxes::Icon::Warning, QString::fromLatin1(Module1::kTitoloAvviso),
                   esito.avviso);
    switch (esito.campo) {
    case Module1::Campo::ABI:
        txtABI->setFocus();
        break;
    case Module1::Campo::CAB:
        txtCAB->setFocus();
        break;
    case Module1::Campo::Conto:
        txtCC->setFocus();
        break;
    }
}

// Whatever the clipboard held goes, in every format; the IBAN field's text, as it stands, is
// offered as plain text only. On X11 the program owns what it copied: Qt hands it to a running
// clipboard manager when the application object is destroyed at exit.
void Form1::CopyIBAN_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(txtIBAN->text());
}

void Form1::SvuotaCampi_Click() {
    txtABI->setText(QString());
    txtCAB->setText(QString());
    txtCC->setText(QString());
    txtIBAN->setText(QString());
}
