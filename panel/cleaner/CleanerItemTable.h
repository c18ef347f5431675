#pragma once
// The item pages of the cleaner as data: each check box with its caption,
// tip, and the cleanup setting it edits, and the order in which Clean Now
// runs the sweeper's operations for the boxes that are checked.

#include <string>
#include <vector>

class CSettings;
class CTraceSweeper;

struct CleanerItem {
    int control;
    const char* caption;
    unsigned tipString;
    bool (*get)(const CSettings&);
    void (*set)(CSettings&, int);
};

struct CleanerStep {
    int control;
    bool (CTraceSweeper::*clear)();
};

// A group box around the next count items.
struct CleanerGroup {
    std::string caption;
    int count;
};

struct CleanerItemTable {
    int templateId;
    std::vector<CleanerGroup> groups;
    std::vector<CleanerItem> items;  // in the template's order
    std::vector<CleanerStep> cleanOrder;
    unsigned selectAllTip;
    // The browser page warns before favourites are cleaned.
    int warnedControl;  // 0 none
};

// Template 150: the system traces.
const CleanerItemTable& SystemItemTable();
// Template 151: the system browser's traces.
const CleanerItemTable& BrowserItemTable();
// The index of control in table.items, or -1.
int IndexOfItem(const CleanerItemTable& table, int control);
