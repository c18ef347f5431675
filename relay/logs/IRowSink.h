#pragma once
// A report-style list control as the program log fills it: the control
// panel adapts its list controls to this, so the engine never includes the
// UI toolkit.

class IRowSink {
public:
    virtual ~IRowSink() = default;

    // A text-only row at index (after the last row when index is past it)
    // whose first column is text; returns the row's index.
    virtual int InsertItem(int index, const char* text) = 0;
    virtual void SetItemText(int row, int column, const char* text) = 0;
};
