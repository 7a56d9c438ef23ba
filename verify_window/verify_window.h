#pragma once

#include <QWidget>

#include <array>

class Announcer;
class QClipboard;
class QLabel;
class QLineEdit;
class QPushButton;

namespace verifier {
struct Risultato;
}

// "Verifica IBAN": a field for an IBAN as people paste it and, as it is typed, whether it is
// valid (in green or red; a neutral "…" while it is still too short), why not, its parts and
// its three forms, and buttons for the valid IBANs one slip away. "Copia" puts the electronic
// form of a valid IBAN on the clipboard. Screen readers read each value with its caption and
// are told each new verdict. Modeless; Escape closes it. Laid out with Qt layouts in the
// application's fonts.
class VerifyWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSuggerimenti = 5;

    explicit VerifyWindow(QClipboard& clipboard, QWidget* parent = nullptr);

    // Puts a text in the field, as a paste would.
    void setText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void txtIBAN_Change();
    void cmdCopia_Click();
    void mostra(const verifier::Risultato& risultato);

    QClipboard& clipboard_;
    QLineEdit* txtIBAN;
    QLabel* lblEsito;
    QLabel* lblMotivo;
    QLabel* lblPaese;
    QLabel* lblCifreControllo;
    QLabel* lblCIN;
    QLabel* lblABI;
    QLabel* lblCAB;
    QLabel* lblConto;
    QLabel* lblElettronico;
    QLabel* lblCartaceo;
    QLabel* lblPerCampi;
    QLabel* lblSuggerimenti;
    std::array<QPushButton*, kSuggerimenti> cmdSuggerimento;
    QPushButton* cmdCopia;
    Announcer* annunci_;
    QString ultimoVerdetto_;
};
