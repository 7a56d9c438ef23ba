#include "verify_window_opener.h"

#include "verifica_qt.h"
#include "verify_window.h"

#include <QClipboard>
#include <QScreen>
#include <QStyle>

namespace {

// Beside the window it was opened from, so that both stay in view: to its right, or else to its
// left, top edges level; on a screen too narrow for either, over its middle.
QPoint accanto(const QWidget& owner, QSize size) {
    const QRect fuori = owner.frameGeometry();
    const QScreen* schermo = owner.screen();
    const QRect spazio = schermo ? schermo->availableGeometry() : fuori;
    const int margine = owner.style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    const int destra = fuori.right() + 1 + margine;
    const int sinistra = fuori.left() - margine - size.width();
    if (destra + size.width() <= spazio.right() + 1) {
        return {destra, owner.y()};
    }
    if (sinistra >= spazio.left()) {
        return {sinistra, owner.y()};
    }
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, owner.geometry()).topLeft();
}

} // namespace

VerifyWindowOpener::VerifyWindowOpener(QClipboard& clipboard) : clipboard_(clipboard) {}

void VerifyWindowOpener::open(QWidget* owner, const QString& ibanText) {
    if (!window_) {
        window_ = new VerifyWindow(clipboard_, owner);
    }
    if (!window_->isVisible()) {
        // Copied text often ends with a line break.
        const QString appunti = clipboard_.text().trimmed();
        window_->setText(!ibanText.isEmpty()               ? ibanText
                         : verifier::sembraUnIBAN(appunti) ? appunti
                                                           : QString());
        window_->adjustSize();
        if (owner) {
            window_->move(accanto(*owner, window_->size()));
        }
        window_->show();
    }
    window_->raise();
    window_->activateWindow();
}
