#include "wizard/CWizBoxTable.h"

namespace wizard {

void CWizBoxTable::Load(const CSettings& s) {
    for (const SBoxRow& row : rows_) {
        if (row.load) checked_[row.box] = row.load(s);
    }
}

void CWizBoxTable::Store(CSettings& s) const {
    for (const SBoxRow& row : rows_) {
        if (row.store) row.store(s, IsChecked(row.box));
    }
}

bool CWizBoxTable::IsChecked(int box) const {
    const auto it = checked_.find(box);
    return it != checked_.end() && it->second;
}

std::vector<int> CWizBoxTable::CheckedBoxes() const {
    std::vector<int> boxes;
    for (const SBoxRow& row : rows_) {
        if (IsChecked(row.box)) boxes.push_back(row.box);
    }
    return boxes;
}

}  // namespace wizard
