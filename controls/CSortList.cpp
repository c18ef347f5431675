#include "controls/CSortList.h"

#include <algorithm>
#include <vector>

#include "controls/CPictureImage.h"
#include "controls/CSortRows.h"

CSortList::CSortList(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
    Create(parent, id, pos, size, style);
}

bool CSortList::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
    if (!wxListCtrl::Create(parent, id, pos, size, (style & ~wxLC_MASK_TYPE) | wxLC_REPORT)) {
        return false;
    }
    Bind(wxEVT_LIST_INSERT_ITEM, &CSortList::OnInsert, this);
    Bind(wxEVT_LIST_DELETE_ITEM, &CSortList::OnDelete, this);
    Bind(wxEVT_LIST_COL_CLICK, &CSortList::OnColumnClick, this);
    return true;
}

void CSortList::SetupHeader() {
    mHeader.SubclassWindow(*this);
    if (mToolTip == nullptr) {
        mToolTip = new CToolTipCtrlEx();
        mToolTip->Create(this);
    }
    if (wxWindow* header = mHeader.GetHeader()) {
        // Widths are given for narrower fonts than the header's; a shown
        // column grows to its heading so that no heading is cut.
        for (int column = 0; column < GetColumnCount(); ++column) {
            wxListItem item;
            item.SetMask(wxLIST_MASK_TEXT);
            GetColumn(column, item);
            const int width = GetColumnWidth(column);
            if (width > 0) SetColumnWidth(column, std::max(width, mHeader.FittingWidth(item.GetText())));
        }
        for (int column = 0; column < GetColumnCount(); ++column) {
            wxListItem item;
            item.SetMask(wxLIST_MASK_TEXT);
            GetColumn(column, item);
            const std::string text = item.GetText().Left(CSortHeaderCtrl::kTextMax).ToStdString(wxConvUTF8);
            mToolTip->AddTool(header, mHeader.ItemRect(column), column + 1, "Click to sort by " + text);
        }
    }
    if (mUseRowImages) {
        auto* images = new wxImageList(16, 16, true, 0);
        for (const int id : {kRowImageFirst, kRowImageSecond}) {
            CPictureImage picture;
            if (picture.LoadFromResource("GIF", static_cast<unsigned>(id))) {
                images->Add(wxBitmap(picture.Picture().Scale(16, 16)), *wxWHITE);
            }
        }
        AssignImageList(images, wxIMAGE_LIST_SMALL);
    }
}

void CSortList::Renumber() {
    for (long row = 0; row < GetItemCount(); ++row) {
        SetItemData(row, row);
    }
}

void CSortList::OnInsert(wxListEvent& event) {
    event.Skip();
    const long row = event.GetIndex();
    if (row >= 0 && row < GetItemCount()) {
        SetItemData(row, row);
    }
}

void CSortList::OnDelete(wxListEvent& event) {
    event.Skip();
    // The row is still there while the notice runs: renumber once it is gone.
    if (mRenumber) {
        CallAfter([this] {
            if (mRenumber) {
                Renumber();
            }
        });
    }
}

void CSortList::OnColumnClick(wxListEvent& event) {
    SortByColumn(event.GetColumn());
}

void CSortList::SortByColumn(int column) {
    const int columns = GetColumnCount();
    if (column < 0 || column >= columns) {
        return;
    }
    std::vector<CSortRows::Row> rows;
    std::vector<wxListItem> looks;
    const long count = GetItemCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (long row = 0; row < count; ++row) {
        CSortRows::Row snapshot;
        for (int c = 0; c < columns; ++c) {
            snapshot.texts.push_back(GetItemText(row, c).ToStdString(wxConvUTF8));
        }
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_IMAGE | wxLIST_MASK_STATE);
        item.SetStateMask(wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        GetItem(item);
        snapshot.image = item.GetImage();
        snapshot.state = item.GetState();
        snapshot.data = static_cast<std::intptr_t>(row);
        rows.push_back(std::move(snapshot));
        wxListItem look;
        look.SetTextColour(GetItemTextColour(row));
        look.SetBackgroundColour(GetItemBackgroundColour(row));
        looks.push_back(look);
    }
    CSortRows::Sort(rows, column);
    Freeze();
    for (long row = 0; row < count; ++row) {
        const auto& r = rows[static_cast<std::size_t>(row)];
        for (int c = 0; c < columns; ++c) {
            SetItem(row, c, wxString::FromUTF8(r.texts[static_cast<std::size_t>(c)]));
        }
        SetItemImage(row, r.image);
        SetItemState(row, r.state, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        const auto& look = looks[static_cast<std::size_t>(r.data)];
        SetItemTextColour(row, look.GetTextColour());
        SetItemBackgroundColour(row, look.GetBackgroundColour());
    }
    Renumber();
    Thaw();
}
