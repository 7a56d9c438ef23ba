#pragma once

#include <QString>
#include <array>

// One advert of the ticker: the line it shows and the page a click opens.
struct SpotEntry {
    QString Headline;
    QString Url;
};

using SpotTable = std::array<SpotEntry, 12>;

// The adverts in the order the ticker shows them; the first one comes round three times a
// cycle (rows 0, 3 and 9).
SpotTable advertSpots();
