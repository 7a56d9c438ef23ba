#pragma once

#include "form1.h"
#include "look.h"
#include "message_boxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>

// The real main window, shown and active, with the real message boxes and the given tools.
class FormFixture {
public:
    explicit FormFixture(Form1Tools tools = {})
        : form_(std::make_unique<Form1>(boxes_, std::move(tools))) {
        form_->show();
        form_->activateWindow();
    }

    Form1& form() { return *form_; }
    // The designed controls' container, below the menu bar.
    QWidget& area() { return *control("DesignArea"); }

    template <typename T = QWidget> T* control(const char* name) const {
        return form_->findChild<T*>(QLatin1String(name));
    }

    bool waitActive() { return QTest::qWaitForWindowActive(form_.get()); }

    // Types the bank codes as a user would, clicking into each field first.
    void typeCodes(const QString& abi, const QString& cab, const QString& account) {
        for (const auto& [name, text] :
             {std::pair{"txtABI", abi}, {"txtCAB", cab}, {"txtCC", account}}) {
            auto* field = control<QLineEdit>(name);
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClicks(field, text);
        }
    }

    // Types the bank codes and clicks "Calcola IBAN".
    void calculate(const QString& abi, const QString& cab, const QString& account) {
        typeCodes(abi, cab, account);
        QTest::mouseClick(control("CalcolaIBAN"), Qt::LeftButton);
    }

private:
    QtMessageBoxes boxes_;
    std::unique_ptr<Form1> form_;
};

// What a message box showed before the test pressed its OK button.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Presses OK on the next modal box as soon as it is open, and records what it showed.
inline void pressOkWhenShown(const std::shared_ptr<SeenBox>& seen, int triesLeft) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [seen, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (triesLeft > 0) {
                pressOkWhenShown(seen, triesLeft - 1);
            }
            return;
        }
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = int(box->buttons().size());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
}

inline std::shared_ptr<SeenBox> dismissNextBox() {
    auto seen = std::make_shared<SeenBox>();
    pressOkWhenShown(seen, 500);
    return seen;
}
