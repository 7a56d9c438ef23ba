#pragma once

#include <QPushButton>

// A push button whose caption breaks at word boundaries when it is wider than the button,
// centred both ways, as a command button of the design shows it.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, QWidget* parent);

    // The area the caption is laid out in.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
