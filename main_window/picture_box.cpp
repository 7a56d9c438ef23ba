#include "picture_box.h"

#include "look.h"

#include <QPainter>

PictureBox::PictureBox(Border border, QWidget* parent) : QWidget(parent), border_(border) {}

void PictureBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

QPoint PictureBox::clientOrigin() const {
    const int width = border_ == Border::Sunken3D ? 2 : 1;
    return {width, width};
}

void PictureBox::placeInClientArea(QWidget* child, double left, double top, double width,
                                   double height) const {
    look::setTwipsGeometry(child, left, top, width, height);
    child->move(child->pos() + clientOrigin());
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.drawPixmap(clientOrigin(), picture_);

    const QRect r = rect();
    if (border_ == Border::FlatSingle) {
        p.setPen(look::toQColor(look::kWindowText));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    // A sunken client edge: grey over black at the top and left, white over button face below.
    const QColor shadow = look::toQColor(look::kGrey);
    const QColor darkShadow(Qt::black);
    const QColor highlight(Qt::white);
    const QColor face = look::toQColor(look::kButtonFace);
    auto edge = [&p](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(box.topLeft(), box.topRight());
        p.drawLine(box.topLeft(), box.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(box.bottomLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomRight());
    };
    edge(r.adjusted(0, 0, -1, -1), shadow, highlight);
    edge(r.adjusted(1, 1, -2, -2), darkShadow, face);
}
