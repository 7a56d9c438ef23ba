#pragma once

#include "promotion_panel.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class Announcer;
class MessageBoxes;
class PictureBox;
class Shape;
class QFrame;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTimer;

// The tools that the main window reaches beyond the calculator: from its menu bar, from the
// IBAN field's context menu (the IBAN check and the conversion) and by dropping files on it.
// The main window is the parent of what they open. A tool left empty has its entries disabled
// and its context-menu entry left out; without `convertFiles` the window takes no drop.
struct Form1Tools {
    std::function<void(QWidget* mainWindow, const QString& ibanText)> verifyIban;
    std::function<void(QWidget* mainWindow)> convertList;
    std::function<void(QWidget* mainWindow, const QStringList& paths)> convertFiles;
    std::function<void(QWidget* mainWindow)> showHelp;
    std::function<void(QWidget* mainWindow)> showAbout;
};

// The main window: a menu bar above the designed area, which holds the IBAN calculator with its
// bank fields and commands, and the promotion panel's controls, whose behaviour the promotion
// panel supplies.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(MessageBoxes& messages, Form1Tools tools = {}, QWidget* parent = nullptr);

    // The controls that the promotion panel drives.
    PromotionControls promotionControls() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void createMenus();
    void describeControls();
    void stackControls();
    void orderTabs();
    void placeMenuBar();
    void centreOnScreen();
    void connectCommands();
    void connectFields();

    void CalcolaIBAN_Click();
    // Screen readers hear the calculated IBAN, read in groups of four, wherever the focus is.
    void announceIban();
    void CopyIBAN_Click();
    void SvuotaCampi_Click();
    void txtIBAN_ContextMenu(const QPoint& position);
    // A file dragged over the window, its fields included, is the window's to take.
    bool takeFileDrag(QEvent* event);

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
    Form1Tools tools_;
    bool forwardingInput_ = false;

    QMenuBar* MenuBar;
    // The designed controls, placed from its top-left corner as from the window's client area.
    QWidget* DesignArea;

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
    Announcer* announcer_;
};
