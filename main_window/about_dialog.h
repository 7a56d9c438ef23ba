#pragma once

#include <QDialog>

class QWidget;

namespace shell {
class Launcher;
}

// "Informazioni su Brivanta IBAN": the program's name and version, its vendor and the vendor's
// link, the libraries it uses with their versions and licences, and "Licenze…", which shows
// the licence texts shipped with the program.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(shell::Launcher& launcher, QWidget* parent);

private:
    void showLicences();
};

// "Licenze": the libraries on the left, the licence text of the one chosen on the right.
class LicencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit LicencesDialog(QWidget* parent);
};
