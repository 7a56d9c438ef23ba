#pragma once

#include <QString>

class QWidget;

// A list chosen to be converted: its path (empty when the user gave up), and whether the user
// asks to choose its sheet and columns first.
struct ChosenList {
    QString path;
    bool chooseColumns = false;
};

// "Converti un elenco": Qt's file dialog, whose buttons are "Converti" and "Scegli le
// colonne…".
ChosenList chooseList(QWidget* owner);
