#include "announcer.h"

Announcer::Announcer(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("Announcer"));
    // It takes no room and no input, and is never seen.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(QStringLiteral("Avvisi"));
}

void Announcer::announce(const QString& message) {
    setAccessibleName(message);
    // Screen readers speak a notification when it starts showing.
    hide();
    show();
}
