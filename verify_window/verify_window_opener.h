#pragma once

#include "verify_window.h"

#include <QPointer>
#include <QString>

class QClipboard;

// Opens the one "Verifica IBAN" window, or brings it forward when it is open already.
class VerifyWindowOpener {
public:
    explicit VerifyWindowOpener(QClipboard& clipboard);

    // A window not on screen opens beside `owner` with `ibanText` in its field when it holds
    // something, otherwise with the clipboard's text when that looks like an IBAN.
    void open(QWidget* owner, const QString& ibanText);

    VerifyWindow* window() const { return window_; }

private:
    QClipboard& clipboard_;
    QPointer<VerifyWindow> window_; // owned by its owner window
};
