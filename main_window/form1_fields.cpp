#include "form1.h"

#include "look.h"
#include "trim_spaces.h"
#include "typed_characters.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kEnter = 13;

// Enter moves on and is not cancelled; Backspace, Tab and form feed always pass; any other
// character is tested against the text as it stands before the character.
void applyKeyRule(const QLineEdit* field, QWidget* next, qsizetype limit, bool digitsOnly,
                  int& code) {
    if (code == kEnter) {
        next->setFocus();
        return;
    }
    if (code == 8 || code == 9 || code == 12) {
        return;
    }
    const bool digit = code >= '0' && code <= '9';
    if (field->text().size() >= limit || (digitsOnly && !digit)) {
        code = 0;
    }
}

// Replaces the text only when there is a space to trim, so that the replacement's own change
// notification finds nothing left to do.
void trimField(QLineEdit* field) {
    const QString text = field->text();
    const QString trimmed = trimSpaces(text);
    if (trimmed.size() != text.size()) {
        field->setText(trimmed);
    }
}

} // namespace

void Form1::connectFields() {
    connect(txtABI, &QLineEdit::textChanged, this, &Form1::txtABI_Change);
    connect(txtCAB, &QLineEdit::textChanged, this, &Form1::txtCAB_Change);
    connect(txtCC, &QLineEdit::textChanged, this, &Form1::txtCC_Change);
    for (QLineEdit* field : {txtABI, txtCAB, txtCC}) {
        field->installEventFilter(this);
    }
}

void Form1::txtABI_Change() {
    trimField(txtABI);
}
void Form1::txtCAB_Change() {
    trimField(txtCAB);
}
void Form1::txtCC_Change() {
    trimField(txtCC);
}

void Form1::txtABI_KeyPress(int& code) {
    applyKeyRule(txtABI, txtCAB, 5, true, code);
}
void Form1::txtCAB_KeyPress(int& code) {
    applyKeyRule(txtCAB, txtCC, 5, true, code);
}
void Form1::txtCC_KeyPress(int& code) {
    applyKeyRule(txtCC, CalcolaIBAN, 12, false, code);
}

void Form1::txtABI_GotFocus() {
    look::setBackColor(txtCC, look::kWindowBackground);
    look::setBackColor(txtCAB, look::kWindowBackground);
    look::setBackColor(txtABI, look::kYellow);
}

void Form1::txtCAB_GotFocus() {
    look::setBackColor(txtABI, look::kWindowBackground);
    look::setBackColor(txtCC, look::kWindowBackground);
    look::setBackColor(txtCAB, look::kYellow);
}

void Form1::txtCC_GotFocus() {
    look::setBackColor(txtABI, look::kWindowBackground);
    look::setBackColor(txtCAB, look::kWindowBackground);
    look::setBackColor(txtCC, look::kYellow);
}

void Form1::txtABI_LostFocus() {
    look::setBackColor(txtABI, look::kWindowBackground);
}
void Form1::txtCAB_LostFocus() {
    look::setBackColor(txtCAB, look::kWindowBackground);
}
void Form1::txtCC_LostFocus() {
    look::setBackColor(txtCC, look::kWindowBackground);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field != txtABI && field != txtCAB && field != txtCC) {
        return QWidget::eventFilter(watched, event);
    }
    if (takeFileDrag(event)) {
        return true; // a file is not text for the field: it goes to the window
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKeyPress(field, *static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        filterInputMethod(field, *static_cast<QInputMethodEvent*>(event));
        return false;
    case QEvent::FocusIn:
        // A context menu closing gives the focus back to the field it never left.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            field == txtABI   ? txtABI_GotFocus()
            : field == txtCAB ? txtCAB_GotFocus()
                              : txtCC_GotFocus();
        }
        return false;
    case QEvent::FocusOut: {
        // Another window or a context menu taking over does not move the focus within this
        // window: the field keeps its highlight, as when the user switches programs.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            field == txtABI   ? txtABI_LostFocus()
            : field == txtCAB ? txtCAB_LostFocus()
                              : txtCC_LostFocus();
        }
        return false;
    }
    default:
        return false;
    }
}

void Form1::keyPress(QLineEdit* field, int& code) {
    if (field == txtABI) {
        txtABI_KeyPress(code);
    } else if (field == txtCAB) {
        txtCAB_KeyPress(code);
    } else {
        txtCC_KeyPress(code);
    }
}

bool Form1::filterKeyPress(QLineEdit* field, QKeyEvent& event) {
    const QList<char32_t> codes = typedCharacters(event);
    if (codes.isEmpty()) {
        return false;
    }
    if (codes.size() == 1) {
        int code = int(codes.front());
        keyPress(field, code);
        // Swallowing the event keeps a cancelled character out of the field.
        return code == 0;
    }
    // Several characters in one event pass the rule one at a time, as if typed one by one.
    for (const char32_t c : codes) {
        int code = int(c);
        keyPress(field, code);
        if (code != 0) {
            field->insert(QString::fromUcs4(&c, 1));
        }
    }
    return true;
}

void Form1::filterInputMethod(QLineEdit* field, QInputMethodEvent& event) {
    if (forwardingInput_ || event.commitString().isEmpty()) {
        return;
    }
    // Committed text is typing too: each character passes the key rule on the text as it
    // stands after the characters before it, and only accepted ones are committed.
    int replaceFrom = event.replacementStart();
    int replaceLength = event.replacementLength();
    for (const char32_t c : event.commitString().toUcs4()) {
        int code = int(c);
        keyPress(field, code);
        if (code == 0) {
            continue;
        }
        QInputMethodEvent single;
        single.setCommitString(QString::fromUcs4(&c, 1), replaceFrom, replaceLength);
        replaceFrom = 0;
        replaceLength = 0;
        forwardingInput_ = true;
        QCoreApplication::sendEvent(field, &single);
        forwardingInput_ = false;
    }
    // What the event still carries is the composition in progress, if any.
    event.setCommitString(QString(), replaceFrom, replaceLength);
}
