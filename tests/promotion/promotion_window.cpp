#include "promotion_window.h"

#include <QTest>
#include <QTimer>

PromotionWindow::PromotionWindow()
    : form(messages), c(form.promotionControls()), panel(c, launcher, browser, messages, &form) {
    panel.Form_Load();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

void PromotionWindow::stopTimers() {
    c.Timer1->stop();
    c.Timer2->stop();
}
