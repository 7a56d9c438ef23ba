#include "verify_window_opener.h"

#include "verifica_qt.h"
#include "verify_window.h"

#include <QClipboard>
#include <QStyle>

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
        // Over the middle of the window it was opened from.
        window_->adjustSize();
        if (owner) {
            window_->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                                     window_->size(), owner->geometry()));
        }
        window_->show();
    }
    window_->raise();
    window_->activateWindow();
}
