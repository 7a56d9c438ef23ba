#pragma once

#include <QWidget>

// Tells screen readers a short message without moving the focus: an empty notification of the
// window, shown afresh with each message as its name, which screen readers speak as it appears.
// Qt 6.4 has no announcement of its own; the accessibility factory gives this class its role.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* window);

    void announce(const QString& message);
};
