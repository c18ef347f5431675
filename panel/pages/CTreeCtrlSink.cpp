#include "panel/pages/CTreeCtrlSink.h"

#include <wx/treectrl.h>

CTreeCtrlSink::CTreeCtrlSink(wxTreeCtrl& tree) : m_Tree(tree) {}

ITreeSink::Handle CTreeCtrlSink::InsertItem(Handle parent, const char* text) {
    if (!m_Tree.GetRootItem().IsOk()) m_Tree.AddRoot(wxString());
    wxTreeItemId under = m_Tree.GetRootItem();
    if (parent != kRoot && parent <= m_Items.size()) under = m_Items[parent - 1];
    m_Items.push_back(m_Tree.AppendItem(under, wxString::FromUTF8(text)));
    return m_Items.size();
}

void CTreeCtrlSink::DeleteAllItems() {
    m_Items.clear();
    m_Tree.DeleteAllItems();
}
