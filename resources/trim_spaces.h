#pragma once

#include <QString>

// Removes leading and trailing space characters only: tabs and other white space stay, and so
// do spaces between words, which belong to the value.
QString trimSpaces(const QString& text);
