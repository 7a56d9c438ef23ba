#include "message_boxes.h"

#include "look.h"

#include <QMessageBox>

void QtMessageBoxes::show(QWidget* parent, Icon icon, const QString& title, const QString& text) {
    QMessageBox box(parent);
    box.setIcon(icon == Icon::Warning       ? QMessageBox::Warning
                : icon == Icon::Information ? QMessageBox::Information
                                            : QMessageBox::NoIcon);
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowIcon(look::applicationIcon());
    box.exec();
}
