#pragma once
// The rows of a sortable list taken out as a snapshot and sorted by the
// texts of one column, compared byte-wise and ascending, keeping the order
// of equal rows. Whatever each row carries travels with it, so the sort
// never relies on row numbers stored in the rows.

#include <cstdint>
#include <string>
#include <vector>

class CSortRows {
public:
    struct Row {
        std::vector<std::string> texts;  // one per column
        int image = -1;
        long state = 0;
        std::intptr_t data = 0;
    };

    // Sorts ascending by column (a missing text counts as empty).
    static void Sort(std::vector<Row>& rows, int column);
};
