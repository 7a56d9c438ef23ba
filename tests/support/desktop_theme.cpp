#include "desktop_theme.h"

#include <QApplication>

namespace {

QPalette darkPalette() {
    const QColor window(0x35, 0x35, 0x35);
    const QColor text(0xF0, 0xF0, 0xF0);
    QPalette p(text, window, window.lighter(150), QColor(0x20, 0x20, 0x20),
               QColor(0x2A, 0x2A, 0x2A), text, QColor(0x19, 0x19, 0x19));
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7F, 0x7F, 0x7F));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7F, 0x7F, 0x7F));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7F, 0x7F, 0x7F));
    return p;
}

} // namespace

DarkLargeTheme::DarkLargeTheme() : palette_(QApplication::palette()), font_(QApplication::font()) {
    QApplication::setPalette(darkPalette());
    QFont large(QStringLiteral("DejaVu Sans"), 20);
    QApplication::setFont(large);
    for (const char* widgetClass : {"QPushButton", "QLabel", "QLineEdit", "QGroupBox"}) {
        QApplication::setFont(large, widgetClass);
    }
}

DarkLargeTheme::~DarkLargeTheme() {
    // Setting the font of every widget drops the fonts of the classes too.
    QApplication::setFont(font_);
    QApplication::setPalette(palette_);
}
