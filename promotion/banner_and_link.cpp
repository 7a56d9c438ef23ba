#include "promotion_panel.h"

#include "friend_window/frm_email.h"
#include "identity.h"
#include "label_style.h"
#include "launcher.h"
#include "look.h"

#include <QLabel>

// The banner shows red with its shadow, then blue without it.
void PromotionPanel::Timer2_Timer() {
    c_.DilloAdAmico_Ombra->setHidden(!c_.DilloAdAmico_Ombra->isHidden());
    look::setForeColor(c_.DilloAdAmico,
                       c_.DilloAdAmico_Ombra->isHidden() ? look::kBlue : look::kRed);
}

// Nothing tells a label that the mouse has left it: the boxes around the banner and the link
// put them back to rest when the mouse moves over them.
void PromotionPanel::DilloAdAmico_MouseMove() {
    setFontSize(c_.DilloAdAmico, hoverPoints_);
    setUnderline(c_.DilloAdAmico, true);
    setFontSize(c_.DilloAdAmico_Ombra, hoverPoints_);
}

void PromotionPanel::Record_MouseMove() {
    setFontSize(c_.DilloAdAmico, restingPoints_);
    setUnderline(c_.DilloAdAmico, false);
    setFontSize(c_.DilloAdAmico_Ombra, restingPoints_);
}

void PromotionPanel::bvURL_MouseMove() {
    setFontSize(c_.bvURL, hoverPoints_);
    setUnderline(c_.bvURL, true);
}

void PromotionPanel::bvLOGO_MouseMove() {
    setFontSize(c_.bvURL, restingPoints_);
    setUnderline(c_.bvURL, false);
}

void PromotionPanel::bvRecapiti_MouseMove() {
    setFontSize(c_.bvURL, restingPoints_);
    setUnderline(c_.bvURL, false);
}

// The timers go on while the dialog runs its own event loop.
void PromotionPanel::DilloAdAmico_Click() {
    if (!friendWindow_) {
        friendWindow_ = new frmEMAIl(browser_, messages_, mainWindow_);
    }
    friendWindow_->exec();
    // A closed window is gone: the next click opens it afresh, with empty fields.
    delete friendWindow_.data();
}

void PromotionPanel::bvURL_Click() {
    launcher_.openUrl(QString::fromLatin1(identity::kVendorHome));
}
