#include "controls/CSortHeaderCtrl.h"

#include <wx/dcbuffer.h>

namespace {

wxColour ToWx(COLORREF c) {
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The list's own header window: the child the generic list keeps as its
// header (wxListHeaderWindow derives from wxWindow alone).
wxWindow* HeaderOf(wxListCtrl& list) {
    for (wxWindow* child : list.GetChildren()) {
        if (static_cast<void*>(child) == static_cast<void*>(list.m_headerWin)) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace

CSortHeaderCtrl::CSortHeaderCtrl() : mFont(wxFontInfo(wxSize(0, 14)).FaceName("Arial").Weight(100)) {}

CSortHeaderCtrl::~CSortHeaderCtrl() {
    if (mHeader != nullptr) {
        mHeader->Unbind(wxEVT_PAINT, &CSortHeaderCtrl::OnPaint, this);
        mHeader->Unbind(wxEVT_DESTROY, &CSortHeaderCtrl::OnHeaderDestroyed, this);
    }
}

bool CSortHeaderCtrl::SubclassWindow(wxListCtrl& list) {
    wxWindow* header = HeaderOf(list);
    if (header == nullptr) {
        return false;
    }
    if (header == mHeader) {
        return true;
    }
    mList = &list;
    mHeader = header;
    mHeader->SetBackgroundStyle(wxBG_STYLE_PAINT);
    mHeader->Bind(wxEVT_PAINT, &CSortHeaderCtrl::OnPaint, this);
    mHeader->Bind(wxEVT_DESTROY, &CSortHeaderCtrl::OnHeaderDestroyed, this);
    mHeader->Refresh();
    return true;
}

wxRect CSortHeaderCtrl::ItemRect(int column) const {
    if (mList == nullptr || mHeader == nullptr || column < 0 || column >= mList->GetColumnCount()) {
        return {};
    }
    int x = 0;
    for (int i = 0; i < column; ++i) {
        x += mList->GetColumnWidth(i);
    }
    return {x, 0, mList->GetColumnWidth(column), mHeader->GetClientSize().y};
}

int CSortHeaderCtrl::FittingWidth(const wxString& text) const {
    if (mHeader == nullptr) return 0;
    // The frame and a few pixels on each side, so the text never touches it.
    constexpr int kMargin = 6;
    wxClientDC dc(mHeader);
    dc.SetFont(mFont);
    return dc.GetTextExtent(text.Left(kTextMax)).x + 2 * kMargin;
}

void CSortHeaderCtrl::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(mHeader);
    const wxBrush fill(ToWx(kFill));
    dc.SetBackground(fill);
    dc.Clear();
    dc.SetFont(mFont);
    dc.SetTextForeground(ToWx(kText));
    dc.SetTextBackground(ToWx(kFill));
    for (int column = 0; column < mList->GetColumnCount(); ++column) {
        const wxRect r = ItemRect(column);
        // A column of no width shows nothing, and no text runs into the
        // next column.
        if (r.width <= 0) continue;
        wxDCClipper clip(dc, r);
        dc.SetPen(wxPen(ToWx(kFrame)));
        dc.SetBrush(fill);
        dc.DrawRectangle(r);
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        mList->GetColumn(column, item);
        const wxString text = item.GetText().Left(kTextMax);
        dc.DrawLabel(text, r, wxALIGN_CENTRE);
    }
}

void CSortHeaderCtrl::OnHeaderDestroyed(wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetEventObject() == mHeader) {
        mHeader = nullptr;
        mList = nullptr;
    }
}
