#pragma once

#include "promotion_panel.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class MessageBoxes;
class PictureBox;
class Shape;
class QFrame;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// An entry that the context menu of the IBAN field offers after Qt's own: its text, and what
// choosing it does with the field's text; the main window is the parent of what it opens.
struct IbanMenuEntry {
    QString text;
    std::function<void(QWidget* mainWindow, const QString& ibanText)> choose;
};

// The main window: the IBAN calculator with its bank fields and commands, and the promotion
// panel's controls, whose behaviour the promotion panel supplies.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(MessageBoxes& messages, std::vector<IbanMenuEntry> ibanMenu = {},
                   QWidget* parent = nullptr);

    // The controls that the promotion panel drives.
    PromotionControls promotionControls() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void describeControls();
    void stackControls();
    void orderTabs();
    void centreOnScreen();
    void connectCommands();
    void connectFields();

    void CalcolaIBAN_Click();
    void CopyIBAN_Click();
    void SvuotaCampi_Click();
    void txtIBAN_ContextMenu(const QPoint& position);

    // The bank fields' rules: key rule, trimming on change, focus highlighting.
    void txtABI_Change();
    void txtABI_GotFocus();
    void txtABI_KeyPress(int& code);
    void txtABI_LostFocus();
    void txtCAB_Change();
    void txtCAB_GotFocus();
    void txtCAB_KeyPress(int& code);
    void txtCAB_LostFocus();
    void txtCC_Change();
    void txtCC_GotFocus();
    void txtCC_KeyPress(int& code);
    void txtCC_LostFocus();

    // Hands a typed character to the field's key rule; a code of 0 afterwards cancels it.
    void keyPress(QLineEdit* field, int& code);
    bool filterKeyPress(QLineEdit* field, QKeyEvent& event);
    void filterInputMethod(QLineEdit* field, QInputMethodEvent& event);

    MessageBoxes& messages_;
    std::vector<IbanMenuEntry> ibanMenu_;
    bool forwardingInput_ = false;

    QTimer* Timer2;
    PictureBox* Record;
    QLabel* DilloAdAmico;
    QLabel* RecordDownload;
    QLabel* DilloAdAmico_Ombra;
    QTimer* Timer1;
    QPushButton* SvuotaCampi;
    QPushButton* CopyIBAN;
    PictureBox* bvLOGO;
    QLabel* bvURL;
    QLabel* bvRecapiti;
    QLineEdit* txtIBAN;
    QPushButton* CalcolaIBAN;
    QLineEdit* txtCC;
    QLineEdit* txtCAB;
    QLineEdit* txtABI;
    QFrame* Frame1;
    QLabel* Label6;
    QLabel* Label5;
    QLabel* Label4;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label1;
    QLabel* TxtSpot;
    Shape* Shape2;
    Shape* Shape1;
};
