#pragma once
// What every check-box page model holds: its box table, loaded from and
// stored to the settings row by row.

#include <span>

#include "settings/CSettings.h"
#include "wizard/CWizBoxTable.h"

namespace wizard {

class CWizBoxPageModel {
public:
    void Load(const CSettings& s) { boxes_.Load(s); }
    void Store(CSettings& s) const { boxes_.Store(s); }
    CWizBoxTable& Boxes() { return boxes_; }
    const CWizBoxTable& Boxes() const { return boxes_; }

protected:
    explicit CWizBoxPageModel(std::span<const SBoxRow> rows) : boxes_(rows) {}

private:
    CWizBoxTable boxes_;
};

}  // namespace wizard
