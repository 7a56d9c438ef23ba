#include "spots.h"

SpotTable advertSpots() {
    const SpotEntry preventivoLampo{
        QStringLiteral("Scarica GRATIS Preventivo Lampo: preventivi in 2 minuti"),
        QStringLiteral("http://www.brivanta.example/preventivo_lampo.asp")};
    return {{
        preventivoLampo,
        {QStringLiteral("Prova Fatturino: le tue fatture pronte in un clic!"),
         QStringLiteral("http://www.brivanta.example/fatturino.asp")},
        {QStringLiteral("Scarica Agendivo: scadenze sempre sotto controllo"),
         QStringLiteral("http://www.brivanta.example/agendivo.asp")},
        preventivoLampo,
        {QStringLiteral("Codice fiscale in un attimo? Scarica GRATIS Codifix!"),
         QStringLiteral("http://www.brivanta.example/codifix.asp")},
        {QStringLiteral("Prova Magazzino Facile, il gestionale del negozio"),
         QStringLiteral("http://www.brivanta.example/magazzino_facile.asp")},
        {QStringLiteral("Scarica Rubricando: tutti i tuoi contatti in ordine"),
         QStringLiteral("http://www.brivanta.example/rubricando.asp")},
        {QStringLiteral("Calcola rate e mutui con Mutuometro: provalo GRATIS!"),
         QStringLiteral("http://www.brivanta.example/mutuometro.asp")},
        {QStringLiteral("Bollettini postali compilati? Scarica Bollettino Rapido"),
         QStringLiteral("http://www.brivanta.example/bollettino_rapido.asp")},
        preventivoLampo,
        {QStringLiteral("Prova Spesometro Casa: i conti di famiglia in ordine"),
         QStringLiteral("http://www.brivanta.example/spesometro_casa.asp")},
        {QStringLiteral("Etichette e buste in un clic: scarica Etichettiamo!"),
         QStringLiteral("http://www.brivanta.example/etichettiamo.asp")},
    }};
}
