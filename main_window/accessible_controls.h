#pragma once

class QWidget;

// What screen readers see beyond the controls' names: a window made from a plain QWidget is a
// window, the clickable labels are links with a press action that clicks them, the rule is a
// separator, an announcer is a notification, and a decoration's blinking raises no events.
namespace accessibility {

// Installs the interfaces and the event filter: once, after the QApplication object is made.
void install();

// Marks a control as a decoration: screen readers are not told each time it shows or hides.
void markDecoration(QWidget* control);

} // namespace accessibility
