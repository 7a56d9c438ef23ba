#pragma once

#include <QWidget>

// A filled rectangle drawn on its container: the back colour fills it and, when it has a
// border, a one-pixel line in the fore colour surrounds it. It takes no mouse input.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(bool bordered, QWidget* parent);

    bool bordered() const { return bordered_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool bordered_;
};
