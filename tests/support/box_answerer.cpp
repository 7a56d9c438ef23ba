#include "box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

BoxAnswerer::BoxAnswerer(QWidget* window) : window(window) {
    QTimer::singleShot(0, this, &BoxAnswerer::answer);
}

void BoxAnswerer::answer() {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes.append({box->icon(), box->windowTitle(), box->text(), window && window->isVisible()});
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }
    // A box may open later, from a click that Qt delivers on a timer (Alt+I).
    QTimer::singleShot(10, this, &BoxAnswerer::answer);
}
