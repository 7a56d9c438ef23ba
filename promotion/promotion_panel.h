#pragma once

#include "spots.h"

#include <QObject>
#include <QPointer>
#include <QtGlobal>

class QEvent;
class QLabel;
class QTimer;
class QWidget;
class MessageBoxes;
class frmEMAIl;
namespace shell {
class HiddenBrowser;
class Launcher;
} // namespace shell

// The controls of the main window that the promotion panel drives. The main window builds
// and lays them out (Form1::promotionControls()); the panel gives them their behaviour.
struct PromotionControls {
    QLabel* TxtSpot;
    QTimer* Timer1;
    QTimer* Timer2;
    QWidget* Record;
    QLabel* DilloAdAmico;
    QLabel* DilloAdAmico_Ombra;
    QLabel* RecordDownload;
    QWidget* bvLOGO;
    QLabel* bvURL;
    QLabel* bvRecapiti;
};

// The advert ticker, the blinking tell-a-friend banner and the vendor link. The panel connects
// the timers and watches the labels' mouse events itself.
class PromotionPanel : public QObject {
    Q_OBJECT
public:
    PromotionPanel(const PromotionControls& controls, shell::Launcher& launcher,
                   shell::HiddenBrowser& browser, MessageBoxes& messages, QWidget* mainWindow);

    // The promotion steps of the main window's load sequence.
    void Form_Load();

    // The ticker (Timer1) and a click on it.
    void Timer1_Timer();
    void TxtSpot_Click();

    // The banner's blink (Timer2), the hover effects and the two clickable texts.
    void Timer2_Timer();
    void DilloAdAmico_MouseMove();
    void Record_MouseMove();
    void bvURL_MouseMove();
    void bvLOGO_MouseMove();
    void bvRecapiti_MouseMove();
    void DilloAdAmico_Click();
    void bvURL_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleMouseMove(QObject* watched);
    bool handleClick(QObject* watched, QEvent* event);

    PromotionControls c_;
    shell::Launcher& launcher_;
    shell::HiddenBrowser& browser_;
    MessageBoxes& messages_;
    QWidget* mainWindow_;

    // The banner's and the link's sizes at rest and under the mouse, in the face that shows
    // their design face Tahoma.
    double restingPoints_;
    double hoverPoints_;

    SpotTable Spots;
    qint32 SpotRestTop = 0;

    // The label that took the last left press: a click needs press and release on the same one.
    QObject* pressed_ = nullptr;
    QPointer<frmEMAIl> friendWindow_;
};
