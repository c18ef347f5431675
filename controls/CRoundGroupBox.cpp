#include "controls/CRoundGroupBox.h"

#include <mutex>

#include <wx/dcclient.h>
#include <wx/settings.h>

#include "controls/CRoundGroupBoxLayout.h"

namespace {

std::mutex gSourceLock;  // guards gMixChainSource
std::function<bool()> gMixChainSource;

wxColour ToWx(COLORREF c) {
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

CRoundGroupBox::CRoundGroupBox(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                               const wxSize& size, platform::DWORD buttonStyle, platform::DWORD exStyle) {
    Create(parent, id, label, pos, size, buttonStyle, exStyle);
}

bool CRoundGroupBox::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                            const wxSize& size, platform::DWORD buttonStyle, platform::DWORD exStyle) {
    mButtonStyle = buttonStyle;
    mExStyle = exStyle;
    // Asked of the parent: this window does not exist yet.
    const bool see = parent != nullptr && parent->IsTransparentBackgroundSupported();
    SetBackgroundStyle(see ? wxBG_STYLE_TRANSPARENT : wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, wxBORDER_NONE | wxTRANSPARENT_WINDOW)) {
        return false;
    }
    SetLabel(label);
    Bind(wxEVT_PAINT, &CRoundGroupBox::OnPaint, this);
    return true;
}

void CRoundGroupBox::SetMixChainSource(std::function<bool()> source) {
    std::lock_guard lock(gSourceLock);
    gMixChainSource = std::move(source);
}

bool CRoundGroupBox::MixChainAllowed() {
    std::lock_guard lock(gSourceLock);
    return gMixChainSource ? gMixChainSource() : true;
}

void CRoundGroupBox::OnPaint(wxPaintEvent&) {
    using L = CRoundGroupBoxLayout;
    wxPaintDC dc(this);
    dc.SetFont(GetFont());
    const wxSize size = GetClientSize();
    const int left = 0, top = 0, right = size.x - 1, bottom = size.y - 1;
    const wxString text = GetLabel();
    const wxString caption = " " + text + " ";
    const wxSize extent = dc.GetTextExtent(caption);
    const int h = extent.y / 2;
    const int line = top + h;
    const auto gap = L::CaptionGap(mButtonStyle, left, right, extent.x, text.empty());
    const int gapFrom = gap ? gap->from : left + 10;
    const int gapTo = gap ? gap->to : left + 10;

    if (!(mButtonStyle & L::BS_FLAT)) {
        dc.SetPen(wxPen(ToWx(L::FrameColour(MixChainAllowed())), 1));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawEllipticArc(left, line, 2 * (gapFrom - left), 18, 90, 180);
        dc.DrawLine(left, line + 9, left, bottom - 15);
        dc.DrawEllipticArc(left, bottom - 30, 30, 30, 180, 270);
        dc.DrawLine(left + 15, bottom, right - 15, bottom);
        dc.DrawEllipticArc(right - 30, bottom - 30, 30, 30, 270, 360);
        dc.DrawLine(right, bottom - 15, right, line + 15);
        dc.DrawEllipticArc(right - 30, line, 30, 30, 0, 90);
        dc.DrawLine(right - 15, line, gapTo, line);
    }
    if (!(mExStyle & L::kNoCaptionExStyles) && gap) {
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        if (IsEnabled()) {
            dc.SetTextForeground(ToWx(L::kCaptionColour));
            dc.DrawText(caption, gap->from, line - extent.y / 2);
        } else {
            dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
            dc.DrawText(caption, gap->from, line - h);
        }
    }
}
