#include "controls/CSortRows.h"

#include <algorithm>

void CSortRows::Sort(std::vector<Row>& rows, int column) {
    static const std::string kEmpty;
    const auto text = [column](const Row& row) -> const std::string& {
        return column >= 0 && static_cast<std::size_t>(column) < row.texts.size()
                   ? row.texts[static_cast<std::size_t>(column)]
                   : kEmpty;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) { return text(a) < text(b); });
}
