#pragma once
// Run Now of the cleanup pages: each checked box's operation on the
// application's trace sweeper, paced by status texts in the progress
// window. The pages' tables say which operation and which text; the first
// row of a page counts its dots six times, each text followed by a tab.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "cleanup/CTraceSweeper.h"

namespace wizard {

// The progress window as the run sees it.
class ICleaningStatus {
public:
    virtual ~ICleaningStatus() = default;
    virtual void SetStatus(const std::string& text) = 0;
    // Waits while the line shows its text.
    virtual void Pause(unsigned ms) = 0;
};

struct SCleanRow {
    int box;
    bool (CTraceSweeper::*operation)();
    const char* status;  // null: the line keeps its text for one pause
};

struct SCleaningPlan {
    std::span<const SCleanRow> rows;
    // Shown for 1000 ms before the first row's texts; may be null.
    const char* firstPreface = nullptr;
};

class CWizCleaningRun {
public:
    static constexpr unsigned kTextMs = 500;
    static constexpr unsigned kPrefaceMs = 1000;

    // Runs the checked rows in table order, then afterRows (when set),
    // then "Done" when any row ran. Returns whether any ran.
    static bool Run(const SCleaningPlan& plan, const std::vector<int>& checkedBoxes, CTraceSweeper& sweeper,
                    ICleaningStatus& status, const std::function<void()>& afterRows = {});
};

}  // namespace wizard
