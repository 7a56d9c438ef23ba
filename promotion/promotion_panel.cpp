#include "promotion_panel.h"

#include "label_style.h"
#include "look.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cmath>

namespace {

const QString kRecordNotice =
    QStringLiteral("il 18 luglio 2008 \u00ABQuorvel\u00BB ha raggiunto quota 20.000 DOWNLOAD !");
const QString kPostalAddress = QStringLiteral("Via dei Mille, 42\r\n40121 Bologna (BO)");

} // namespace

PromotionPanel::PromotionPanel(const PromotionControls& controls, shell::Launcher& launcher,
                               shell::HiddenBrowser& browser, MessageBoxes& messages,
                               QWidget* mainWindow)
    : QObject(mainWindow), c_(controls), launcher_(launcher), browser_(browser),
      messages_(messages), mainWindow_(mainWindow),
      restingPoints_(look::fittedPoints("Tahoma", kRestingPoints)),
      hoverPoints_(look::fittedPoints("Tahoma", kHoverPoints)) {
    connect(c_.Timer1, &QTimer::timeout, this, &PromotionPanel::Timer1_Timer);
    connect(c_.Timer2, &QTimer::timeout, this, &PromotionPanel::Timer2_Timer);

    // The hover effects react to plain mouse movement over these five. Qt drops such a move
    // over any other control (the shadow, the record notice), so it never reaches the boxes.
    const QList<QWidget*> tracked{c_.DilloAdAmico, c_.Record, c_.bvURL, c_.bvLOGO, c_.bvRecapiti};
    for (QWidget* w : tracked) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    c_.TxtSpot->installEventFilter(this);
}

void PromotionPanel::Form_Load() {
    Spots = advertSpots();
    c_.RecordDownload->setText(kRecordNotice);
    c_.bvRecapiti->setText(kPostalAddress);
    setFontSize(c_.DilloAdAmico, restingPoints_);
    setUnderline(c_.DilloAdAmico, false);
    setFontSize(c_.DilloAdAmico_Ombra, restingPoints_);
    setUnderline(c_.DilloAdAmico_Ombra, false);
    SpotRestTop = static_cast<qint32>(std::nearbyint(look::twipsTop(c_.TxtSpot)));
    c_.TxtSpot->setText(Spots[0].Headline);
}

bool PromotionPanel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        handleMouseMove(watched);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return handleClick(watched, event);
    default:
        return false;
    }
}

void PromotionPanel::handleMouseMove(QObject* watched) {
    if (watched == c_.DilloAdAmico) {
        DilloAdAmico_MouseMove();
    } else if (watched == c_.Record) {
        Record_MouseMove();
    } else if (watched == c_.bvURL) {
        bvURL_MouseMove();
    } else if (watched == c_.bvLOGO) {
        bvLOGO_MouseMove();
    } else if (watched == c_.bvRecapiti) {
        bvRecapiti_MouseMove();
    }
}

// A click is a left press and a left release on the same label, released over it.
bool PromotionPanel::handleClick(QObject* watched, QEvent* event) {
    if (watched != c_.TxtSpot && watched != c_.DilloAdAmico && watched != c_.bvURL) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = watched;
        return true;
    }
    const bool clicked = pressed_ == watched && static_cast<QWidget*>(watched)->rect().contains(
                                                    mouse->position().toPoint());
    pressed_ = nullptr;
    if (clicked) {
        if (watched == c_.TxtSpot) {
            TxtSpot_Click();
        } else if (watched == c_.DilloAdAmico) {
            DilloAdAmico_Click();
        } else {
            bvURL_Click();
        }
    }
    return true;
}
