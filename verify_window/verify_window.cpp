#include "verify_window.h"

#include "forme.h"
#include "look.h"
#include "testi.h"
#include "verifica_qt.h"

#include <QClipboard>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNonSiApplica = QStringLiteral("—");

QLabel* valore(QWidget* parent, const char* name, const char* accessibleName) {
    auto* label = new QLabel(kNonSiApplica, parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(QString::fromUtf8(accessibleName));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A row of a form layout: a caption and the value that it labels; returns the value.
QLabel* riga(QWidget* parent, QFormLayout* form, const char* name, const char* caption,
             const char* accessibleName) {
    QLabel* value = valore(parent, name, accessibleName);
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setBuddy(value);
    form->addRow(label, value);
    return value;
}

QString oppure(std::string_view testo) {
    return testo.empty() ? kNonSiApplica : verifier::qtesto(testo);
}

} // namespace

VerifyWindow::VerifyWindow(QClipboard& clipboard, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      clipboard_(clipboard) {
    setObjectName(QStringLiteral("frmVerifica"));
    setWindowTitle(QStringLiteral("Verifica IBAN"));
    setWindowIcon(look::applicationIcon());
    createControls();
    connect(txtIBAN, &QLineEdit::textChanged, this, &VerifyWindow::txtIBAN_Change);
    connect(cmdCopia, &QPushButton::clicked, this, &VerifyWindow::cmdCopia_Click);
    for (QPushButton* button : cmdSuggerimento) {
        connect(button, &QPushButton::clicked, this,
                [this, button] { setText(button->property("iban").toString()); });
    }
    txtIBAN_Change();
}

void VerifyWindow::createControls() {
    auto* caption = new QLabel(QStringLiteral("&IBAN da verificare:"), this);
    caption->setAccessibleName(QStringLiteral("IBAN da verificare"));
    txtIBAN = new QLineEdit(this);
    txtIBAN->setObjectName(QStringLiteral("txtIBAN"));
    txtIBAN->setAccessibleName(QStringLiteral("IBAN da verificare"));
    look::removeLengthLimit(txtIBAN);
    // The calculator's own IBAN face, wide enough for the print form of the longest IBAN
    // (34 characters in groups of four) and a little more.
    txtIBAN->setFont(look::vbFont("Arial", 12.75, true));
    txtIBAN->setMinimumWidth(
        txtIBAN->fontMetrics().horizontalAdvance(QStringLiteral("XXXX ").repeated(9)));
    caption->setBuddy(txtIBAN);

    lblEsito = valore(this, "lblEsito", "Esito");
    QFont grassetto = lblEsito->font();
    grassetto.setBold(true);
    grassetto.setPointSizeF(grassetto.pointSizeF() * 1.5);
    lblEsito->setFont(grassetto);
    lblMotivo = valore(this, "lblMotivo", "Motivo");
    lblMotivo->setWordWrap(true);

    auto* parti = new QFormLayout;
    lblPaese = riga(this, parti, "lblPaese", "Paese:", "Paese");
    lblCifreControllo =
        riga(this, parti, "lblCifreControllo", "Cifre di controllo:", "Cifre di controllo");
    lblCIN = riga(this, parti, "lblCIN", "CIN:", "CIN");
    lblABI = riga(this, parti, "lblABI", "ABI:", "ABI");
    lblCAB = riga(this, parti, "lblCAB", "CAB:", "CAB");
    lblConto = riga(this, parti, "lblConto", "Conto:", "Conto");

    auto* forme = new QFormLayout;
    lblElettronico = riga(this, forme, "lblElettronico", "Elettronico:", "Forma elettronica");
    lblCartaceo = riga(this, forme, "lblCartaceo", "Cartaceo:", "Forma cartacea");
    lblPerCampi = riga(this, forme, "lblPerCampi", "Per campi:", "Forma per campi");

    auto* colonne = new QHBoxLayout;
    colonne->addLayout(parti);
    colonne->addSpacing(fontMetrics().averageCharWidth() * 3);
    colonne->addLayout(forme, 1);

    lblSuggerimenti = valore(this, "lblSuggerimenti", "Suggerimenti");
    lblSuggerimenti->setWordWrap(true);
    auto* suggerimenti = new QVBoxLayout;
    suggerimenti->addWidget(lblSuggerimenti);
    for (int i = 0; i < kSuggerimenti; ++i) {
        cmdSuggerimento[i] = new QPushButton(this);
        cmdSuggerimento[i]->setObjectName(QStringLiteral("cmdSuggerimento%1").arg(i + 1));
        cmdSuggerimento[i]->setAutoDefault(true);
        suggerimenti->addWidget(cmdSuggerimento[i]);
    }

    cmdCopia = new QPushButton(QStringLiteral("Copia"), this);
    cmdCopia->setObjectName(QStringLiteral("cmdCopia"));
    cmdCopia->setAccessibleName(QStringLiteral("Copia la forma elettronica"));
    cmdCopia->setAutoDefault(true);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(cmdCopia);

    auto* finestra = new QVBoxLayout(this);
    finestra->addWidget(caption);
    finestra->addWidget(txtIBAN);
    finestra->addWidget(lblEsito);
    finestra->addWidget(lblMotivo);
    finestra->addLayout(colonne);
    finestra->addLayout(suggerimenti);
    finestra->addLayout(pulsanti);
    // The window takes the size of what it shows.
    finestra->setSizeConstraint(QLayout::SetFixedSize);
}

void VerifyWindow::setText(const QString& text) {
    txtIBAN->setText(text);
}

void VerifyWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void VerifyWindow::txtIBAN_Change() {
    mostra(verifier::verifica(QStringView(txtIBAN->text())));
}

// Whatever the clipboard held goes; the electronic form is offered as plain text. The button
// is enabled only while there is one to copy.
void VerifyWindow::cmdCopia_Click() {
    clipboard_.clear();
    clipboard_.setText(lblElettronico->text());
}

void VerifyWindow::mostra(const verifier::Risultato& r) {
    using verifier::qtesto;
    const bool vuoto = r.esito == verifier::Esito::Vuoto;
    lblEsito->setText(vuoto        ? QString()
                      : r.valido() ? QStringLiteral("Valido")
                                   : QStringLiteral("Non valido"));
    look::setForeColor(lblEsito, r.valido() ? look::kGreen : look::kRed);
    lblMotivo->setText(qtesto(r.valido() ? verifier::nota(r) : verifier::motivo(r)));

    lblPaese->setText(oppure(r.paese()));
    lblCifreControllo->setText(oppure(r.cifreControllo()));
    lblCIN->setText(oppure(r.cin()));
    lblABI->setText(oppure(r.abi()));
    lblCAB->setText(oppure(r.cab()));
    lblConto->setText(oppure(r.conto()));
    lblElettronico->setText(oppure(r.elettronico));
    lblCartaceo->setText(oppure(verifier::cartaceo(r.elettronico)));
    lblPerCampi->setText(oppure(verifier::perCampi(r)));
    cmdCopia->setEnabled(!r.elettronico.empty());

    const int numero = r.suggerimenti.numero;
    lblSuggerimenti->setText(r.suggerimenti.troppi
                                 ? QString::fromUtf8(verifier::kTroppiSuggerimenti)
                             : numero == 1 ? QStringLiteral("Forse intendevi questo IBAN:")
                             : numero > 1  ? QStringLiteral("Forse intendevi uno di questi IBAN:")
                                           : QString());
    lblSuggerimenti->setVisible(!lblSuggerimenti->text().isEmpty());
    for (int i = 0; i < kSuggerimenti; ++i) {
        QPushButton* button = cmdSuggerimento[i];
        const bool usato = i < numero;
        const QString iban = usato ? qtesto(r.suggerimenti[i]) : QString();
        const QString stampato = usato ? qtesto(verifier::cartaceo(r.suggerimenti[i])) : QString();
        button->setProperty("iban", iban);
        button->setText(stampato);
        button->setAccessibleName(QStringLiteral("Usa il suggerimento %1").arg(stampato));
        button->setVisible(usato);
    }
}
