#include "form1.h"

#include "look.h"
#include "picture_box.h"
#include "shape.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <initializer_list>
#include <utility>

namespace {

// Qt stacks siblings in creation order; the design lists each container's controls from the
// top down, windowed controls before the lightweight ones.
void stackTopFirst(std::initializer_list<QWidget*> topFirst) {
    for (auto it = std::rbegin(topFirst); it != std::rend(topFirst); ++it) {
        (*it)->raise();
    }
}

} // namespace

Form1::Form1(MessageBoxes& messages, Form1Tools tools, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      messages_(messages), tools_(std::move(tools)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel by Brivanta"));
    setWindowIcon(look::applicationIcon());
    setFont(look::vbFont("MS Sans Serif", 8.25));
    setPalette(look::designPalette());
    look::setBackColor(this, look::kButtonFace);
    look::setForeColor(this, look::kButtonText);
    setAutoFillBackground(true);

    DesignArea = new QWidget(this);
    DesignArea->setObjectName(QStringLiteral("DesignArea"));
    DesignArea->setAccessibleName(QStringLiteral("Calcolo dell'IBAN"));
    DesignArea->setFixedSize(look::twipsToPixels(6960), look::twipsToPixels(4785));
    createControls();
    createMenus();
    describeControls();
    stackControls();
    orderTabs();
    placeMenuBar();
    centreOnScreen();
    connectCommands();
    connectFields();
    setAcceptDrops(static_cast<bool>(tools_.convertFiles));

    txtABI->setFocus();
    Timer1->start();
    Timer2->start();
}

PromotionControls Form1::promotionControls() const {
    return {TxtSpot,        Timer1, Timer2, Record,    DilloAdAmico, DilloAdAmico_Ombra,
            RecordDownload, bvLOGO, bvURL,  bvRecapiti};
}

void Form1::stackControls() {
    stackTopFirst({Record, SvuotaCampi, CopyIBAN, bvLOGO, txtIBAN, CalcolaIBAN, txtCC, txtCAB,
                   txtABI, Frame1, Label6, Label5, Label4, Label3, Label2, Label1, TxtSpot, Shape2,
                   Shape1});
    stackTopFirst({DilloAdAmico, RecordDownload, DilloAdAmico_Ombra});
    stackTopFirst({bvURL, bvRecapiti});
}

void Form1::orderTabs() {
    // Every other control refuses the focus, so Tab from Record comes round to txtABI.
    const std::array<QWidget*, 9> chain = {txtABI,  txtCAB,   txtCC,  CalcolaIBAN, SvuotaCampi,
                                           txtIBAN, CopyIBAN, bvLOGO, Record};
    for (std::size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

// The window is the designed area with the menu bar above it, and keeps that size.
void Form1::placeMenuBar() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MenuBar);
    layout->addWidget(DesignArea);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate();
}

void Form1::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
}
