#pragma once
// A list view as the engine fills it: the control panel adapts its list
// controls to this, so the engine never includes the UI toolkit.

class IListSink {
public:
    virtual ~IListSink() = default;

    // False while the view has no window to show rows in.
    virtual bool HasWindow() const = 0;
    virtual int GetColumnCount() const = 0;
    // A left-aligned column at index with a heading and a width in pixels.
    virtual void InsertColumn(int index, const char* heading, int width) = 0;
    // Appends a row whose first column is text; returns its index.
    virtual int AppendItem(const char* text) = 0;
    virtual void SetItemText(int row, int column, const char* text) = 0;
    virtual void SetItemImage(int row, int image) = 0;
};
