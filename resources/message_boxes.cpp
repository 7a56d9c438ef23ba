#include "message_boxes.h"

#include "look.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

void prepare(QMessageBox& box, MessageBoxes::Icon icon, const QString& title, const QString& text) {
    using Icon = MessageBoxes::Icon;
    box.setIcon(icon == Icon::Warning       ? QMessageBox::Warning
                : icon == Icon::Information ? QMessageBox::Information
                                            : QMessageBox::NoIcon);
    box.setWindowTitle(title);
    box.setText(text);
    box.setWindowIcon(look::applicationIcon());
}

} // namespace

void QtMessageBoxes::show(QWidget* parent, Icon icon, const QString& title, const QString& text) {
    QMessageBox box(parent);
    prepare(box, icon, title, text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtMessageBoxes::ask(QWidget* parent, Icon icon, const QString& title, const QString& text,
                         const QString& yes, const QString& no) {
    QMessageBox box(parent);
    prepare(box, icon, title, text);
    QPushButton* yesButton = box.addButton(yes, QMessageBox::AcceptRole);
    box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(yesButton);
    box.exec();
    return box.clickedButton() == yesButton;
}
