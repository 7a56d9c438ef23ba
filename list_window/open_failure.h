#pragma once

#include <QString>

class QWidget;

// Tells that a file or folder could not be opened, with `text` saying which and why, and
// shows its full path, selected, to be copied with the keyboard or the "Copia il percorso"
// button and opened by hand. Modal over `parent`.
void tellOpenFailure(QWidget* parent, const QString& text, const QString& path);
