#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

// Answers the program's modal message boxes as a user would: whenever a message box is the
// active modal window it notes what the box says and presses its OK button. Nothing is checked
// here, so that a failing test never leaves a box open.
class BoxAnswerer : public QObject {
    Q_OBJECT
public:
    struct Box {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        bool windowVisible; // whether the watched window was on screen behind the box
    };

    explicit BoxAnswerer(QWidget* window);

    QList<Box> boxes;

private:
    void answer();

    QPointer<QWidget> window;
};
