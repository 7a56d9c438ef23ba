#pragma once

class MessageBoxes;
class QWidget;

namespace shell {
class Launcher;
}

// "Guida": the help page shipped with the program, opened with the desktop's program for web
// pages. When it cannot be, the user is told where the page is.
void showGuide(QWidget* owner, shell::Launcher& launcher, MessageBoxes& messages);
