#pragma once

#include <QObject>

class QLabel;
class QTimer;
class QWidget;
class MessageBoxes;
namespace shell {
class Launcher;
}

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
                   MessageBoxes& messages, QWidget* mainWindow);

    // The promotion steps of the main window's load sequence.
    void Form_Load();
};
