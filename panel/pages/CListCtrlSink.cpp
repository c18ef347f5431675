#include "panel/pages/CListCtrlSink.h"

#include <wx/listctrl.h>

#include "controls/CSortList.h"

int CListCtrlSink::GetColumnCount() const { return m_List.GetColumnCount(); }

void CListCtrlSink::InsertColumn(int index, const char* heading, int width) {
    m_List.InsertColumn(index, wxString::FromUTF8(heading), wxLIST_FORMAT_LEFT, width);
}

int CListCtrlSink::AppendItem(const char* text) {
    return static_cast<int>(m_List.InsertItem(m_List.GetItemCount(), wxString::FromUTF8(text)));
}

void CListCtrlSink::SetItemText(int row, int column, const char* text) {
    if (row < 0 || row >= m_List.GetItemCount() || column >= m_List.GetColumnCount()) return;
    m_List.SetItem(row, column, wxString::FromUTF8(text));
}

void CListCtrlSink::SetItemImage(int row, int image) {
    if (row >= 0 && row < m_List.GetItemCount() && m_List.GetImageList(wxIMAGE_LIST_SMALL)) {
        m_List.SetItemImage(row, image);
    }
}

int CListCtrlSink::InsertItem(int index, const char* text) {
    const int count = m_List.GetItemCount();
    return static_cast<int>(m_List.InsertItem(index > count ? count : index, wxString::FromUTF8(text)));
}

int CListCtrlSink::GetItemCount() const { return m_List.GetItemCount(); }
int CListCtrlSink::GetSelectedCount() const { return m_List.GetSelectedItemCount(); }

int CListCtrlSink::GetFirstSelected() const {
    return static_cast<int>(m_List.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

std::string CListCtrlSink::GetItemText(int row, int column) const {
    return m_List.GetItemText(row, column).utf8_string();
}

void CListCtrlSink::DeleteItem(int row) { m_List.DeleteItem(row); }
void CListCtrlSink::DeleteAllItems() { m_List.DeleteAllItems(); }

void CListCtrlSink::SetRenumber(bool renumber) {
    if (auto* sortable = dynamic_cast<CSortList*>(&m_List)) sortable->SetRenumber(renumber);
}
