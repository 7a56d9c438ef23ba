#pragma once

#include <QFont>
#include <QPalette>

// A desktop theme that a user may choose: a dark palette, and a large font for every widget
// and for the widget classes that a platform theme gives fonts of their own. Set for the whole
// application while the object lives.
class DarkLargeTheme {
public:
    DarkLargeTheme();
    ~DarkLargeTheme();
    DarkLargeTheme(const DarkLargeTheme&) = delete;
    DarkLargeTheme& operator=(const DarkLargeTheme&) = delete;

private:
    QPalette palette_;
    QFont font_;
};
