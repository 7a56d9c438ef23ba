#pragma once

#include <QString>

class QWidget;

// The program's modal message boxes: one OK button, an icon, a text and a title.
// Windows receive this service, so that a test may watch what the user is told.
class MessageBoxes {
public:
    enum class Icon { None, Warning, Information };

    virtual ~MessageBoxes() = default;
    virtual void show(QWidget* parent, Icon icon, const QString& title, const QString& text) = 0;
    // A box with two buttons, `yes` first and the default; true when the user chose it.
    virtual bool ask(QWidget* parent, Icon icon, const QString& title, const QString& text,
                     const QString& yes, const QString& no) = 0;
};

// The real boxes, modal over their parent.
class QtMessageBoxes : public MessageBoxes {
public:
    void show(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    bool ask(QWidget* parent, Icon icon, const QString& title, const QString& text,
             const QString& yes, const QString& no) override;
};
