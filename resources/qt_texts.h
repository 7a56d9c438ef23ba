#pragma once

class QCoreApplication;

// Qt's own texts (the text boxes' context menus, the file chooser, the progress dialog's
// buttons) and its dates and numbers in Italian, the language of the whole program, whatever
// the system's locale.
// False when Qt's Italian translation is not installed: those texts then stay in English.
bool installItalianQtTexts(QCoreApplication& app);
