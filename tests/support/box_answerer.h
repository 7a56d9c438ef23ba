#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

// Answers the program's modal message boxes as a user would: whenever a message box is the
// active modal window it notes what the box says and presses its button named `press` (OK
// when empty or when the box has no such button). Nothing is checked here, so that a failing
// test never leaves a box open.
class BoxAnswerer : public QObject {
    Q_OBJECT
public:
    struct Box {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        bool windowVisible; // whether the watched window was on screen behind the box
        QStringList buttons;
    };

    explicit BoxAnswerer(QWidget* window, QString press = QString());

    QList<Box> boxes;
    QString press;

private:
    void answer();

    QPointer<QWidget> window;
};
