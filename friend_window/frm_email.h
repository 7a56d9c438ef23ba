#pragma once

#include <QDialog>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class MessageBoxes;
namespace shell {
class HiddenBrowser;
enum class FetchOutcome;
} // namespace shell

// The tell-a-friend window: the friend's e-mail address, the user's own name and address, and
// the button that sends the invitation to the vendor's server through the windowless browser.
// It waits for the server's answer with a busy pointer, still responsive, and thanks the user
// only once the server has answered; otherwise it says why nothing was sent and stays open with
// everything typed. The banner makes a new instance for every opening, so each opening starts
// from the design.
class frmEMAIl : public QDialog {
    Q_OBJECT
public:
    frmEMAIl(shell::HiddenBrowser& browser, MessageBoxes& messages, QWidget* owner);
    ~frmEMAIl() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void emailTO_GotFocus();
    void NomeFrom_GotFocus();
    void emailFROM_GotFocus();
    void InviaMail_GotFocus();
    void InviaMail_Click();

    void sendInvitation();
    void invitationSent(shell::FetchOutcome outcome);
    void setBusy(bool on);
    void warnAboutFriendAddress(const QString& text);
    void warn(const QString& text);

    shell::HiddenBrowser& browser;
    MessageBoxes& messages;

    QPushButton* InviaMail;
    QGroupBox* Frame2;
    QLineEdit* emailFROM;
    QLineEdit* NomeFrom;
    QLabel* Label3;
    QLabel* Label2;
    QGroupBox* Frame1;
    QLineEdit* emailTO;
    QLabel* Label1;

    // Set while a submission runs and after one has gone out: a click that arrives meanwhile
    // (a pending Alt+I, a second click) must not send the invitation again.
    bool submitting = false;
    // The busy pointer is on while the server's answer is awaited.
    bool busy = false;
};
