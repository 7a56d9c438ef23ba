#pragma once

class QLabel;

// The banner and the vendor link rest at 7 points and grow to 8 under the mouse, in their design
// face.
inline constexpr double kRestingPoints = 7;
inline constexpr double kHoverPoints = 8;

void setFontSize(QLabel* label, double points);
void setUnderline(QLabel* label, bool on);
