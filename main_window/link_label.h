#pragma once

#include <QLabel>

// A label that acts on a click, as a link does: the advert ticker, the tell-a-friend banner and
// the vendor's link. Whoever gives it its behaviour watches its mouse events.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Plays a left click at the label's centre once control returns to the event loop, so that
    // a caller outside it (a screen reader's request) is answered before the click's effect,
    // which may be a modal window, runs.
    void click();
};
