#include "separator.h"

#include <map>

namespace lists {
namespace {

constexpr int kLinesJudged = 100;

// How often each field count occurs over the sample's lines, quotes respected. The last line
// may be cut by the sample's end, so it counts only when it is the only one.
std::map<int, int> fieldCounts(std::string_view sample, char separator) {
    std::map<int, int> counts;
    int fields = 1;
    bool quoted = false;
    bool blank = true;
    int lines = 0;
    for (std::size_t i = 0; i < sample.size() && lines < kLinesJudged; ++i) {
        const char c = sample[i];
        if (c == '"') {
            quoted = !quoted;
            blank = false;
        } else if (quoted) {
            continue;
        } else if (c == separator) {
            ++fields;
            blank = false;
        } else if (c == '\n' || c == '\r') {
            if (!blank) {
                ++counts[fields];
                ++lines;
            }
            fields = 1;
            blank = true;
        } else {
            blank = false;
        }
    }
    if (lines == 0 && !blank) {
        ++counts[fields];
    }
    return counts;
}

} // namespace

char detectSeparator(std::string_view sample) {
    char best = kSeparators.front();
    int bestLines = 0;
    int bestFields = 0;
    for (const char candidate : kSeparators) {
        for (const auto& [fields, lines] : fieldCounts(sample, candidate)) {
            if (fields < 2) {
                continue;
            }
            if (lines > bestLines || (lines == bestLines && fields > bestFields)) {
                best = candidate;
                bestLines = lines;
                bestFields = fields;
            }
        }
    }
    return best;
}

} // namespace lists
