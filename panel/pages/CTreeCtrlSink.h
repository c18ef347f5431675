#pragma once
// A wxTreeCtrl as the chain log fills it. The tree's own hidden root is the
// parent of the top-level items.

#include <vector>

#include <wx/treebase.h>

#include "relay/logs/ITreeSink.h"

class wxTreeCtrl;

class CTreeCtrlSink : public ITreeSink {
public:
    explicit CTreeCtrlSink(wxTreeCtrl& tree);

    // ITreeSink
    Handle InsertItem(Handle parent, const char* text) override;
    void DeleteAllItems() override;

private:
    wxTreeCtrl& m_Tree;
    // Handles are indexes + 1 into the items made since the last clear.
    std::vector<wxTreeItemId> m_Items;
};
