#pragma once

#include "conversion.h"
#include "reason_rows.h"

#include <QString>

#include <optional>

// How the conversion of one list ended, for the results.
struct ListResult {
    QString input;                         // the list's path
    std::optional<lists::Summary> summary; // when it was converted
    QString problem;                       // otherwise, why not
    bool stoppedByUser = false;            // "Annulla", or the columns not chosen
    ReasonRows rows;
};
