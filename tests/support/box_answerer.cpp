#include "box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

BoxAnswerer::BoxAnswerer(QWidget* window, QString press) : press(std::move(press)), window(window) {
    QTimer::singleShot(0, this, &BoxAnswerer::answer);
}

void BoxAnswerer::answer() {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        QStringList buttons;
        QAbstractButton* chosen = box->button(QMessageBox::Ok);
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
            if (button->text() == press) {
                chosen = button;
            }
        }
        boxes.append(
            {box->icon(), box->windowTitle(), box->text(), window && window->isVisible(), buttons});
        QTest::mouseClick(chosen, Qt::LeftButton);
    }
    // A box may open later, from a click that Qt delivers on a timer (Alt+I).
    QTimer::singleShot(10, this, &BoxAnswerer::answer);
}
