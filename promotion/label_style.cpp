#include "label_style.h"

#include <QFont>
#include <QLabel>

// Qt ignores a font equal to the current one, so repeated moves cost no relayout.
void setFontSize(QLabel* label, double points) {
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
}

void setUnderline(QLabel* label, bool on) {
    QFont font = label->font();
    font.setUnderline(on);
    label->setFont(font);
}
