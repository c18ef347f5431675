#pragma once
// The rows of a proxy list view as the pages read and delete them (column 0
// the address, column 1 the port).

#include <string>

class IProxyRows {
public:
    virtual ~IProxyRows() = default;

    virtual int GetItemCount() const = 0;
    virtual int GetSelectedCount() const = 0;
    // -1 when no row is selected.
    virtual int GetFirstSelected() const = 0;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual void DeleteItem(int row) = 0;
    virtual void DeleteAllItems() = 0;
    // Row numbering of the sortable list; off while many rows go.
    virtual void SetRenumber(bool renumber) = 0;
};
