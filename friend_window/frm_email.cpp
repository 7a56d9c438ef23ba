#include "frm_email.h"

#include "hidden_browser.h"
#include "identity.h"
#include "invitation_url.h"
#include "look.h"
#include "message_boxes.h"
#include "trim_spaces.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTitle = QString::fromLatin1(identity::kApplicationTitle);

struct Twips {
    double left, top, width, height;
};

QGroupBox* makeFrame(QWidget* window, const char* name, const QString& caption, Twips at) {
    auto* frame = new QGroupBox(caption, window);
    frame->setObjectName(QLatin1String(name));
    look::setTwipsGeometry(frame, at.left, at.top, at.width, at.height);
    frame->setFont(look::vbFont("Arial", 8.25, true));
    look::setBackColor(frame, look::kButtonFace);
    look::setForeColor(frame, look::kButtonText);
    return frame;
}

QLabel* makeLabel(QGroupBox* frame, const char* name, const QString& text, Twips at,
                  look::VbColor fore) {
    auto* label = new QLabel(text, frame);
    label->setObjectName(QLatin1String(name));
    look::setTwipsGeometry(label, at.left, at.top, at.width, at.height);
    label->setFont(look::vbFont("MS Sans Serif", 8.25));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    look::setBackColor(label, look::kButtonFace);
    look::setForeColor(label, fore);
    return label;
}

QLineEdit* makeField(QGroupBox* frame, const char* name, Twips at, look::VbColor fore) {
    auto* field = new QLineEdit(frame);
    field->setObjectName(QLatin1String(name));
    look::setTwipsGeometry(field, at.left, at.top, at.width, at.height);
    field->setFont(look::vbFont("Arial", 9.75, true));
    look::removeLengthLimit(field);
    look::setBackColor(field, look::kWindowBackground);
    look::setForeColor(field, fore);
    return field;
}

} // namespace

frmEMAIl::frmEMAIl(shell::HiddenBrowser& browser, MessageBoxes& messages, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      browser(browser), messages(messages) {
    setObjectName(QStringLiteral("frmEMAIL"));
    setWindowTitle(QStringLiteral("Quorvel è COMODO ed è GRATIS: dillo a un Amico!"));
    setWindowIcon(look::applicationIcon());
    setFont(look::vbFont("MS Sans Serif", 8.25));
    setPalette(look::designPalette());
    look::setBackColor(this, look::kButtonFace);
    look::setForeColor(this, look::kButtonText);
    resize(look::twipsToPixels(5625), look::twipsToPixels(3270));

    // Created bottom of the stack first: within each container the later sibling lies on top,
    // so every field covers the end of its caption label and the button lies above the frames.
    Frame1 = makeFrame(this, "Frame1", QStringLiteral("E-Mail del tuo AMICO"), {90, 90, 5415, 870});
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("Indirizzo e-mail del tuo AMICO:"),
                       {135, 360, 2535, 285}, look::kRed);
    emailTO = makeField(Frame1, "emailTO", {2430, 315, 2820, 360}, look::kRed);

    Frame2 = makeFrame(this, "Frame2", QStringLiteral("I TUOI DATI"), {90, 1170, 5415, 1320});
    Label2 = makeLabel(Frame2, "Label2", QStringLiteral("Il tuo nome (ad es. PAOLO):"),
                       {135, 360, 2535, 285}, look::kBlue);
    Label3 = makeLabel(Frame2, "Label3", QStringLiteral("Il tuo indirizzo email:"),
                       {135, 855, 2535, 285}, look::kBlue);
    NomeFrom = makeField(Frame2, "NomeFrom", {2430, 290, 2820, 360}, look::kWindowText);
    emailFROM = makeField(Frame2, "emailFROM", {2430, 810, 2820, 360}, look::kWindowText);

    InviaMail = new QPushButton(QStringLiteral("&Invia messaggio"), this);
    InviaMail->setObjectName(QStringLiteral("InviaMail"));
    look::setTwipsGeometry(InviaMail, 3915, 2655, 1590, 510);
    InviaMail->setFont(look::vbFont("MS Sans Serif", 8.25, true));
    look::setBackColor(InviaMail, look::kButtonFace);
    look::setForeColor(InviaMail, look::kButtonText);
    InviaMail->setCursor(look::handCursor());
    // Neither default nor cancel button: Enter in a field must not send the invitation.
    InviaMail->setAutoDefault(false);
    InviaMail->setDefault(false);

    // Screen readers name the fields after their captions, which label them.
    setAccessibleDescription(QStringLiteral("Invia a un amico l'invito a scaricare Quorvel."));
    emailTO->setAccessibleName(QStringLiteral("Indirizzo e-mail del tuo AMICO"));
    emailTO->setAccessibleDescription(QStringLiteral("L'indirizzo a cui arriva l'invito."));
    NomeFrom->setAccessibleName(QStringLiteral("Il tuo nome"));
    NomeFrom->setAccessibleDescription(QStringLiteral("Per esempio PAOLO."));
    emailFROM->setAccessibleName(QStringLiteral("Il tuo indirizzo email"));
    InviaMail->setAccessibleDescription(
        QStringLiteral("Invia l'invito al tuo amico attraverso il sito di Brivanta e aspetta la "
                       "sua risposta."));
    Label1->setBuddy(emailTO);
    Label2->setBuddy(NomeFrom);
    Label3->setBuddy(emailFROM);

    setTabOrder(emailTO, NomeFrom);
    setTabOrder(NomeFrom, emailFROM);
    setTabOrder(emailFROM, InviaMail);
    emailTO->setFocus();

    for (QWidget* w : {static_cast<QWidget*>(emailTO), static_cast<QWidget*>(NomeFrom),
                       static_cast<QWidget*>(emailFROM), static_cast<QWidget*>(InviaMail)}) {
        w->installEventFilter(this);
    }
    connect(InviaMail, &QPushButton::clicked, this, &frmEMAIl::InviaMail_Click);
}

// Closed while it waits, the window gives the request up (the browser ends with it) and takes
// its busy pointer away.
frmEMAIl::~frmEMAIl() {
    setBusy(false);
}

bool frmEMAIl::eventFilter(QObject* watched, QEvent* event) {
    // Alt+I takes the focus to the button before it clicks, so the highlight leaves the field.
    if (watched == InviaMail && event->type() == QEvent::Shortcut) {
        InviaMail->setFocus(Qt::ShortcutFocusReason);
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == emailTO) {
            emailTO_GotFocus();
        } else if (watched == NomeFrom) {
            NomeFrom_GotFocus();
        } else if (watched == emailFROM) {
            emailFROM_GotFocus();
        } else if (watched == InviaMail) {
            InviaMail_GotFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmEMAIl::keyPressEvent(QKeyEvent* event) {
    // Escape keeps the window open; Enter acts only on the button that has the focus.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (focusWidget() == InviaMail) {
            InviaMail->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmEMAIl::emailTO_GotFocus() {
    look::setBackColor(NomeFrom, look::kWindowBackground);
    look::setBackColor(emailFROM, look::kWindowBackground);
    look::setBackColor(emailTO, look::kYellow);
}

void frmEMAIl::NomeFrom_GotFocus() {
    look::setBackColor(emailTO, look::kWindowBackground);
    look::setBackColor(emailFROM, look::kWindowBackground);
    look::setBackColor(NomeFrom, look::kYellow);
}

void frmEMAIl::emailFROM_GotFocus() {
    look::setBackColor(emailTO, look::kWindowBackground);
    look::setBackColor(NomeFrom, look::kWindowBackground);
    look::setBackColor(emailFROM, look::kYellow);
}

void frmEMAIl::InviaMail_GotFocus() {
    look::setBackColor(emailTO, look::kWindowBackground);
    look::setBackColor(NomeFrom, look::kWindowBackground);
    look::setBackColor(emailFROM, look::kWindowBackground);
}

void frmEMAIl::InviaMail_Click() {
    if (submitting) {
        return;
    }
    submitting = true;
    sendInvitation();
}

void frmEMAIl::sendInvitation() {
    const QString typed = emailTO->text();
    if (trimSpaces(typed).isEmpty()) {
        warnAboutFriendAddress(QStringLiteral("Occorre inserire l'indirizzo email del tuo Amico."));
        return;
    }
    // The at sign and the dot are looked for in the text as typed, the length without the
    // surrounding spaces.
    const qsizetype at = typed.indexOf(u'@') + 1;
    const qsizetype dot = at == 0 ? 0 : typed.indexOf(u'.', at - 1) + 1;
    if (at == 0 || dot == 0 || trimSpaces(typed).size() < 6) {
        warnAboutFriendAddress(QStringLiteral("L'indirizzo email del tuo Amico NON è corretto!"));
        return;
    }

    const QString url = invitationUrl(trimSpaces(emailTO->text()), trimSpaces(emailFROM->text()),
                                      trimSpaces(NomeFrom->text()));
    setBusy(true);
    browser.fetch(url, this, [this](shell::FetchOutcome outcome) { invitationSent(outcome); });
}

void frmEMAIl::invitationSent(shell::FetchOutcome outcome) {
    setBusy(false);
    const auto notSent = [](const char* why) {
        return QStringLiteral("Il messaggio NON è stato inviato: ") + QString::fromUtf8(why);
    };
    QString reason;
    switch (outcome) {
    case shell::FetchOutcome::Answered:
        hide();
        messages.show(parentWidget(), MessageBoxes::Icon::Information, kTitle,
                      QStringLiteral("Messaggio Inviato. Grazie per la collaborazione!"));
        accept();
        return;
    case shell::FetchOutcome::Refused:
        reason = notSent("il server di Brivanta lo ha rifiutato. Riprova più tardi.");
        break;
    case shell::FetchOutcome::NoAnswer:
        reason = notSent("il server non risponde. Riprova più tardi.");
        break;
    case shell::FetchOutcome::NoConnection:
        reason = notSent("nessuna connessione con il sito di Brivanta. Controlla la connessione "
                         "a Internet e riprova.");
        break;
    case shell::FetchOutcome::NotSent:
        reason = notSent("non è stato possibile avviare il browser. Riprova più tardi.");
        break;
    }
    // Everything typed stays, for another try.
    warn(reason);
    submitting = false;
}

void frmEMAIl::setBusy(bool on) {
    if (on == busy) {
        return;
    }
    busy = on;
    if (on) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void frmEMAIl::warnAboutFriendAddress(const QString& text) {
    warn(text);
    emailTO->setFocus(Qt::OtherFocusReason);
    submitting = false;
}

void frmEMAIl::warn(const QString& text) {
    messages.show(this, MessageBoxes::Icon::Warning, kTitle, text);
    // Not every window manager hands the activation back when the box closes; without it the
    // user could not type on.
    activateWindow();
}
