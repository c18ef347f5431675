#pragma once
// The logic of one item page of the cleaner (system or browser items): one
// integer per check box, loaded from and stored into the working settings'
// cleanup section, and the Select All / Deselect All pair of which one
// button is offered at a time.

#include <vector>

#include "panel/cleaner/CleanerItemTable.h"

class IPageHost;

class CAdvCleanerItemsModel {
public:
    CAdvCleanerItemsModel(IPageHost& host, const CleanerItemTable& table);

    const CleanerItemTable& Table() const { return m_Table; }
    // One integer per item, in the table's order: what the boxes show.
    const std::vector<int>& Values() const { return m_Values; }
    int Value(int control) const;
    // True while "Select All" is offered, false while "Deselect All" is.
    bool OffersSelectAll() const { return m_bOffersSelectAll; }

    // Every getter into the integers.
    void Load();
    // A click on an item box; screen is what the boxes show now. Takes
    // them, marks the settings changed and calls every setter.
    void OnItemClicked(int control, const std::vector<int>& screen);
    void SelectAll();
    void DeselectAll();

private:
    void Store(const std::vector<int>& screen);
    void WarnFavourites() const;

    IPageHost& m_Host;
    const CleanerItemTable& m_Table;
    std::vector<int> m_Values;
    bool m_bOffersSelectAll = true;
};
