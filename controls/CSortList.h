#pragma once
// A report list that sorts its rows by the clicked column (ascending,
// byte-wise, on every click), with the panel's header and a tooltip per
// header item. Sorting takes a snapshot of the rows (CSortRows) and
// writes them back, so it never relies on the item data; the item data
// is still renumbered to the row index after inserts, sorts and (while
// renumbering is on) deletions, as pages read it.

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include "controls/CSortHeaderCtrl.h"
#include "controls/CToolTipCtrlEx.h"

class CSortList : public wxListCtrl {
public:
    static constexpr int kRowImageFirst = 186;
    static constexpr int kRowImageSecond = 187;

    CSortList() = default;
    CSortList(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = wxLC_REPORT);

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxLC_REPORT);

    // After the columns exist and the rows are filled: the header's look,
    // its tooltips ("Click to sort by " + the column's text) and, with row
    // images on, the small image list from GIF 186 and 187.
    void SetupHeader();
    void SetUseRowImages(bool use) { mUseRowImages = use; }
    void SetRenumber(bool renumber) { mRenumber = renumber; }
    bool Renumbers() const { return mRenumber; }

    // What a click on a column's header does.
    void SortByColumn(int column);

    CSortHeaderCtrl& Header() { return mHeader; }
    CToolTipCtrlEx* ToolTip() const { return mToolTip; }

private:
    void Renumber();
    void OnInsert(wxListEvent& event);
    void OnDelete(wxListEvent& event);
    void OnColumnClick(wxListEvent& event);

    CSortHeaderCtrl mHeader;
    bool mUseRowImages = false;
    bool mRenumber = true;
    CToolTipCtrlEx* mToolTip = nullptr;  // a child window of the list
};
