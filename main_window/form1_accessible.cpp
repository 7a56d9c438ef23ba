#include "form1.h"

#include "accessible_controls.h"
#include "announcer.h"
#include "picture_box.h"
#include "shape.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// What a screen reader says of each control. Labels and buttons are named by their own text,
// the fields after their captions; a description is added where the name is not enough.
void Form1::describeControls() {
    setAccessibleDescription(QString::fromUtf8(
        "Calcola il codice IBAN italiano da ABI, CAB e numero di conto corrente."));

    const struct {
        QWidget* control;
        const char* name; // empty: the control's own text
        const char* description;
    } controls[] = {
        {txtABI, "ABI", "Il codice della banca: fino a 5 cifre."},
        {txtCAB, "CAB", "Il codice dello sportello: fino a 5 cifre."},
        {txtCC, "Numero di conto corrente",
         "Fino a 12 caratteri, segni e spazi compresi; l'IBAN ne usa le lettere e le cifre."},
        {txtIBAN, "Codice IBAN", "Il codice IBAN calcolato, da leggere o copiare negli appunti."},
        {CalcolaIBAN, "", "Calcola il codice IBAN da ABI, CAB e numero di conto."},
        {SvuotaCampi, "", "Svuota i campi e il codice IBAN."},
        {CopyIBAN, "", "Copia il codice IBAN negli appunti."},
        {bvLOGO, "Brivanta", "Il logo, l'indirizzo e il sito del produttore di Quorvel."},
        {bvURL, "", "Apre il sito di Brivanta nel browser."},
        {bvRecapiti, "", "L'indirizzo postale di Brivanta."},
        {Record, "Traguardo dei download",
         "Il record dei download di Quorvel e l'invito a farlo conoscere a un amico."},
        {DilloAdAmico, "", "Apre la finestra per invitare un amico a scaricare Quorvel."},
        {DilloAdAmico_Ombra, "Ombra dell'invito",
         "Decorazione: il testo dell'invito in grigio, sotto l'invito."},
        {TxtSpot, "",
         "Le notizie sugli altri programmi di Brivanta, una alla volta: apre la pagina della "
         "notizia mostrata."},
        {Frame1, "Linea di separazione", ""},
        {Shape1, "Fascia nera", "Decorazione: lo sfondo delle notizie e dell'invito."},
        {Shape2, "Fondo", "Decorazione: lo sfondo del riquadro di Brivanta."},
    };
    for (const auto& c : controls) {
        if (*c.name != '\0') {
            c.control->setAccessibleName(QString::fromUtf8(c.name));
        }
        c.control->setAccessibleDescription(QString::fromUtf8(c.description));
    }
    // The captions label their fields for screen readers; they have no access keys.
    Label1->setBuddy(txtABI);
    Label2->setBuddy(txtCAB);
    Label3->setBuddy(txtCC);
    Label4->setBuddy(txtIBAN);
    // The shadow blinks with the banner.
    accessibility::markDecoration(DilloAdAmico_Ombra);
    announcer_ = new Announcer(this);
}

void Form1::announceIban() {
    const QString iban = txtIBAN->text();
    QStringList groups;
    for (qsizetype i = 0; i < iban.size(); i += 4) {
        groups << iban.mid(i, 4);
    }
    announcer_->announce(QStringLiteral("Codice IBAN: ") + groups.join(u' '));
}
