#pragma once
// A report-style wxListCtrl as the engine fills it (IListSink, IRowSink)
// and as the proxy pages read and delete its rows (IProxyRows).

#include "panel/pages/IProxyRows.h"
#include "relay/logs/IRowSink.h"
#include "relay/pool/IListSink.h"

class wxListCtrl;

class CListCtrlSink : public IListSink, public IRowSink, public IProxyRows {
public:
    explicit CListCtrlSink(wxListCtrl& list) : m_List(list) {}

    // IListSink
    bool HasWindow() const override { return true; }
    int GetColumnCount() const override;
    void InsertColumn(int index, const char* heading, int width) override;
    int AppendItem(const char* text) override;
    void SetItemText(int row, int column, const char* text) override;
    void SetItemImage(int row, int image) override;

    // IRowSink
    int InsertItem(int index, const char* text) override;

    // IProxyRows
    int GetItemCount() const override;
    int GetSelectedCount() const override;
    int GetFirstSelected() const override;
    std::string GetItemText(int row, int column) const override;
    void DeleteItem(int row) override;
    void DeleteAllItems() override;
    // Only a sortable list renumbers its rows.
    void SetRenumber(bool renumber) override;

private:
    wxListCtrl& m_List;
};
