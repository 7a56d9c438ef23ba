#pragma once

#include "promotion_panel.h"

#include <QWidget>

class MessageBoxes;
class PictureBox;
class Shape;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The main window: the IBAN calculator with its bank fields and commands, and the promotion
// panel's controls, whose behaviour the promotion panel supplies.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(MessageBoxes& messages, QWidget* parent = nullptr);

    // The controls that the promotion panel drives.
    PromotionControls promotionControls() const;

private:
    void createControls();
    void stackControls();
    void orderTabs();
    void centreOnScreen();
    void connectCommands();

    void CalcolaIBAN_Click();

    MessageBoxes& messages_;

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
