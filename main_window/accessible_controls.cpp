#include "accessible_controls.h"

#include "link_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>

namespace accessibility {

namespace {

const char* const kDecoration = "accessibleDecoration";

// A link whose name is the label's text as it stands (the ticker's current headline), with
// one action, Press, which clicks the label.
class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return label()->text();
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && label()->isVisible()) {
            label()->click();
        }
    }

private:
    LinkLabel* label() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* controlInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("LinkLabel")) {
        return new AccessibleLink(static_cast<LinkLabel*>(object));
    }
    // Qt asks for the most derived class first and reaches "QWidget" only for windows made
    // straight from it (the main window, "Verifica IBAN"), which it would call a client area.
    if (className == QLatin1String("QWidget") && static_cast<QWidget*>(object)->isWindow()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    if (className == QLatin1String("Announcer")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    if (className == QLatin1String("QFrame")) {
        auto* frame = static_cast<QFrame*>(object);
        if (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine) {
            return new QAccessibleWidget(frame, QAccessible::Separator);
        }
    }
    return nullptr;
}

bool isDecorationStep(const QAccessibleEvent* event) {
    const QAccessible::Event type = event->type();
    return (type == QAccessible::ObjectShow || type == QAccessible::ObjectHide) &&
           event->object() != nullptr && event->object()->property(kDecoration).toBool();
}

// Passes every other event on to the platform's bridge, which Qt calls only when no handler
// is installed.
void dropDecorationSteps(QAccessibleEvent* event) {
    if (isDecorationStep(event)) {
        return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(dropDecorationSteps);
}

} // namespace

void install() {
    QAccessible::installFactory(controlInterface);
    QAccessible::installUpdateHandler(dropDecorationSteps);
}

void markDecoration(QWidget* control) {
    control->setProperty(kDecoration, true);
}

} // namespace accessibility
