#include "promotion_panel.h"

#include "launcher.h"
#include "look.h"

#include <QLabel>
#include <QTimer>
#include <cmath>

namespace {

const char* const kTag = "Tag";

constexpr double kReadingBand = 30; // twips around the rest position read slowly
constexpr double kStep = 4;         // twips per step
constexpr int kFastPeriod = 1;      // ms
constexpr int kReadingPeriod = 170; // ms
constexpr int kLastRow = 11;

// The value of the text's leading decimal number, 0 when it starts with none.
double leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    const auto skipDigits = [&] {
        const qsizetype from = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
        }
        return i - from;
    };
    qsizetype digits = skipDigits();
    if (i < text.size() && text[i] == u'.') {
        ++i;
        digits += skipDigits();
    }
    if (digits == 0) {
        return 0;
    }
    return text.mid(start, i - start).toDouble();
}

double tagValue(const QLabel* label) {
    return leadingNumber(label->property(kTag).toString());
}

// The table row a value names, halves to the even row; -1 when it names none.
int rowOf(double value) {
    const double row = std::nearbyint(value);
    return row >= 0 && row <= kLastRow ? static_cast<int>(row) : -1;
}

void setPace(QTimer* timer, QLabel* label, int period, look::VbColor colour) {
    // Setting the interval of a running QTimer starts its wait over; only a change needs it.
    if (timer->interval() != period) {
        timer->setInterval(period);
    }
    look::setForeColor(label, colour);
}

} // namespace

// The ticker moves in twips; the label's pixels follow when it is placed.
void PromotionPanel::Timer1_Timer() {
    QLabel* spot = c_.TxtSpot;
    const double top = look::twipsTop(spot);
    if (std::abs(top - SpotRestTop) >= kReadingBand) {
        setPace(c_.Timer1, spot, kFastPeriod, look::kYellow);
    } else {
        setPace(c_.Timer1, spot, kReadingPeriod, look::kCyan);
    }
    look::setTwipsTop(spot, top - kStep);

    const double height = look::twipsHeight(spot);
    if (look::twipsTop(spot) + height < SpotRestTop) {
        look::setTwipsTop(spot, SpotRestTop + height);
        double next = tagValue(spot) + 1;
        int row = rowOf(next);
        // Past the last row the ticker starts over; so does a tag that names no row at all.
        if (next > kLastRow || row < 0) {
            next = 0;
            row = 0;
        }
        spot->setProperty(kTag, QString::number(next, 'g', 15));
        spot->setText(Spots[row].Headline);
    }
}

void PromotionPanel::TxtSpot_Click() {
    const int row = rowOf(tagValue(c_.TxtSpot));
    // Only the ticker writes the tag; a value it cannot have written names no advert.
    if (row < 0) {
        return;
    }
    launcher_.openUrl(Spots[row].Url);
}
