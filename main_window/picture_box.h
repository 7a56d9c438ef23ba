#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

// A container that shows a picture at the top-left of its client area, inside its border.
// Its child controls are placed from the client area's corner, as the window places its own.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Border { Sunken3D, FlatSingle };

    PictureBox(Border border, QWidget* parent);

    void setPicture(const QPixmap& picture);
    QPixmap picture() const { return picture_; }

    // Top-left corner of the client area, inside the border.
    QPoint clientOrigin() const;
    void placeInClientArea(QWidget* child, double left, double top, double width,
                           double height) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Border border_;
    QPixmap picture_;
};
