#include "typed_characters.h"

#include <QKeyEvent>

QList<char32_t> typedCharacters(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return {8};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return {9};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {13};
    case Qt::Key_Escape:
        return {27};
    case Qt::Key_Delete:
        // Some platforms give it the text DEL, but it types nothing.
        return {};
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    // Ctrl with Alt is AltGr on Windows: it types the character of its text instead.
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) &&
        event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
        return {char32_t(event.key() - Qt::Key_A + 1)};
    }
    QList<char32_t> codes;
    for (const char32_t c : event.text().toUcs4()) {
        codes.append(c);
    }
    return codes;
}
