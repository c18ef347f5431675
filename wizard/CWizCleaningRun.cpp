#include "wizard/CWizCleaningRun.h"

#include <algorithm>

namespace wizard {
namespace {

void ShowDots(const std::string& base, int texts, const char* suffix, ICleaningStatus& status) {
    for (int dots = 0; dots < texts; ++dots) {
        status.SetStatus(base + std::string(static_cast<std::size_t>(dots), '.') + suffix);
        status.Pause(CWizCleaningRun::kTextMs);
    }
}

}  // namespace

bool CWizCleaningRun::Run(const SCleaningPlan& plan, const std::vector<int>& checkedBoxes, CTraceSweeper& sweeper,
                          ICleaningStatus& status, const std::function<void()>& afterRows) {
    bool any = false;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const SCleanRow& row = plan.rows[i];
        if (std::find(checkedBoxes.begin(), checkedBoxes.end(), row.box) == checkedBoxes.end()) continue;
        any = true;
        (sweeper.*row.operation)();
        const bool first = i == 0;
        if (first && plan.firstPreface) {
            status.SetStatus(plan.firstPreface);
            status.Pause(kPrefaceMs);
        }
        if (!row.status) {
            status.Pause(kTextMs);
        } else if (first) {
            ShowDots(row.status, 6, "\t", status);
        } else {
            ShowDots(row.status, 5, "", status);
        }
    }
    if (afterRows) afterRows();
    if (any) {
        status.SetStatus("Done");
        status.Pause(kTextMs);
    }
    return any;
}

}  // namespace wizard
