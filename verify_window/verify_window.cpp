#include "verify_window.h"

#include "announcer.h"
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

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

const QString kNonSiApplica = QStringLiteral("—");
// What a value is called when screen readers read it with its value.
const char* const kDidascalia = "didascalia";

QLabel* valore(QWidget* parent, const char* name, const char* accessibleName) {
    auto* label = new QLabel(kNonSiApplica, parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty(kDidascalia, QString::fromUtf8(accessibleName));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Shows a value. Screen readers read it with its caption, "Paese: IT", and hear it change
// through its name.
void scrivi(QLabel* label, const QString& testo) {
    label->setText(testo);
    const QString detto =
        testo.isEmpty() || testo == kNonSiApplica ? QStringLiteral("nessuno") : testo;
    const QString nome = label->property(kDidascalia).toString() + QStringLiteral(": ") + detto;
    if (label->accessibleName() != nome) {
        label->setAccessibleName(nome);
    }
}

// A text that may still grow into a whole IBAN: shorter than its country's IBANs, only the
// first letter of a country, or the start of a label ("Cod", "IBA").
bool ancoraDaScrivere(const verifier::Risultato& r, const QString& testo) {
    if (r.esito == verifier::Esito::Lunghezza) {
        return r.elettronico.size() < std::size_t(r.lunghezzaAttesa);
    }
    if (r.esito != verifier::Esito::PaeseNonLettere &&
        r.esito != verifier::Esito::PaeseSconosciuto) {
        return false;
    }
    if (r.elettronico.size() == 1 && std::isalpha(static_cast<unsigned char>(r.elettronico[0]))) {
        return true;
    }
    const QString scritto = testo.trimmed().toUpper();
    return QStringLiteral("CODICE IBAN").startsWith(scritto) ||
           QStringLiteral("IBAN").startsWith(scritto);
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

// Green and red stay readable on whatever background the desktop's theme gives the window:
// a dark one lightens them.
QColor leggibile(QColor colore, const QColor& sfondo) {
    const auto luminanza = [](const QColor& c) {
        const auto lineare = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lineare(c.redF()) + 0.7152 * lineare(c.greenF()) +
               0.0722 * lineare(c.blueF());
    };
    const auto contrasto = [&](const QColor& c) {
        const double a = luminanza(c);
        const double b = luminanza(sfondo);
        return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    };
    // The verdict is large and bold: a contrast of 3 to 1 reads well.
    while (contrasto(colore) < 3 && colore.lightness() < 250) {
        colore = luminanza(sfondo) < 0.2 ? colore.lighter(115) : colore.darker(115);
    }
    return colore;
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
    annunci_ = new Announcer(this);
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
        cmdSuggerimento[i]->setAccessibleName(QStringLiteral("Suggerimento"));
        cmdSuggerimento[i]->setToolTip(
            QStringLiteral("Metti questo IBAN nel campo da verificare."));
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

// Whatever the clipboard held goes; the electronic form of a valid IBAN is offered as plain
// text. The button is enabled only while there is one.
void VerifyWindow::cmdCopia_Click() {
    clipboard_.clear();
    clipboard_.setText(lblElettronico->text());
}

void VerifyWindow::mostra(const verifier::Risultato& r) {
    using verifier::qtesto;
    const bool vuoto = r.esito == verifier::Esito::Vuoto;
    // While the IBAN is being typed it is not yet wrong: a neutral "…", and what is missing.
    const bool inCorso = ancoraDaScrivere(r, txtIBAN->text());
    const int mancanti = int(r.lunghezzaAttesa) - int(r.elettronico.size());
    const QString esito = vuoto        ? QString()
                          : inCorso    ? QStringLiteral("…")
                          : r.valido() ? QStringLiteral("Valido")
                                       : QStringLiteral("Non valido");
    const QString motivo = !inCorso ? qtesto(r.valido() ? verifier::nota(r) : verifier::motivo(r))
                           : mancanti == 1 ? QStringLiteral("Manca ancora 1 carattere.")
                           : r.lunghezzaAttesa > 0
                               ? QStringLiteral("Mancano ancora %1 caratteri.").arg(mancanti)
                               : QString();
    scrivi(lblEsito, esito);
    if (inCorso) {
        QPalette tavolozza = lblEsito->palette();
        tavolozza.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
        lblEsito->setPalette(tavolozza);
    } else {
        const look::VbColor colore = r.valido() ? look::kGreen : look::kRed;
        look::setForeColor(lblEsito, colore);
        QPalette tavolozza = lblEsito->palette();
        tavolozza.setColor(QPalette::WindowText,
                           leggibile(look::toQColor(colore), palette().color(QPalette::Window)));
        lblEsito->setPalette(tavolozza);
    }
    scrivi(lblMotivo, motivo);

    scrivi(lblPaese, oppure(r.paese()));
    scrivi(lblCifreControllo, oppure(r.cifreControllo()));
    scrivi(lblCIN, oppure(r.cin()));
    scrivi(lblABI, oppure(r.abi()));
    scrivi(lblCAB, oppure(r.cab()));
    scrivi(lblConto, oppure(r.conto()));
    // Before its country's letters are written the text has no form yet ("Cod", "I").
    const std::string_view elettronico =
        inCorso && r.paese().empty() ? std::string_view() : std::string_view(r.elettronico);
    scrivi(lblElettronico, oppure(elettronico));
    scrivi(lblCartaceo, oppure(verifier::cartaceo(elettronico)));
    scrivi(lblPerCampi, oppure(verifier::perCampi(r)));

    cmdCopia->setEnabled(r.valido());
    cmdCopia->setToolTip(r.valido() ? QStringLiteral("Copia negli appunti la forma elettronica.")
                         : vuoto    ? QStringLiteral("Scrivi o incolla un IBAN: si copia solo un "
                                                        "IBAN valido.")
                         : inCorso  ? QStringLiteral("L'IBAN non è ancora completo: si copia solo "
                                                      "un IBAN valido.")
                                    : QStringLiteral("L'IBAN non è valido: si copia solo un IBAN "
                                                      "valido."));

    // Screen readers are told each new verdict, wherever the focus is; not each key typed.
    const QString verdetto =
        vuoto || inCorso
            ? QString()
            : esito + (motivo.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + motivo);
    if (verdetto != ultimoVerdetto_) {
        ultimoVerdetto_ = verdetto;
        if (!verdetto.isEmpty()) {
            annunci_->announce(verdetto);
        }
    }

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
        const QString nome = QStringLiteral("Usa il suggerimento %1").arg(stampato);
        if (usato && button->accessibleName() != nome) {
            button->setAccessibleName(nome);
        }
        button->setVisible(usato);
    }
}
