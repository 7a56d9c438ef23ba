#pragma once

#include <QList>

class QKeyEvent;

// The character codes that a key press types, as the bank fields' key rule sees them:
// Backspace 8, Tab 9, Enter 13, Escape 27, Ctrl with a letter its control code 1 to 26,
// any other key the characters of its text. Empty for keys that type nothing (arrows,
// Delete, Home, function keys...), which the key rule does not see.
QList<char32_t> typedCharacters(const QKeyEvent& event);
