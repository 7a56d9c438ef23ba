#include "link_label.h"

#include <QCoreApplication>
#include <QMouseEvent>

void LinkLabel::click() {
    const QPointF centre = QRectF(rect()).center();
    const QPointF global = mapToGlobal(centre);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(
            this, new QMouseEvent(type, centre, global, Qt::LeftButton, held, Qt::NoModifier));
    }
}
