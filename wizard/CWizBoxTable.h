#pragma once
// A page's check boxes as a table: each row names its box and how it is
// loaded from and stored to the settings, so a page model reads as its list
// of boxes.

#include <map>
#include <span>
#include <vector>

#include "settings/CSettings.h"

namespace wizard {

struct SBoxRow {
    int box;
    bool (*load)(const CSettings&);
    void (*store)(CSettings&, bool checked);
};

class CWizBoxTable {
public:
    explicit CWizBoxTable(std::span<const SBoxRow> rows) : rows_(rows) {}

    void Load(const CSettings& s);
    void Store(CSettings& s) const;

    // A box the table does not know is unchecked.
    bool IsChecked(int box) const;
    void SetChecked(int box, bool checked) { checked_[box] = checked; }
    // The checked boxes of the table, in table order.
    std::vector<int> CheckedBoxes() const;
    std::span<const SBoxRow> Rows() const { return rows_; }

private:
    std::span<const SBoxRow> rows_;
    std::map<int, bool> checked_;
};

}  // namespace wizard
