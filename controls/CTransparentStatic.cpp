#include "controls/CTransparentStatic.h"

#include <wx/dcclient.h>

#include "controls/CStaticTextFlags.h"
#include "controls/CTextPainter.h"

CTransparentStatic::CTransparentStatic(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                                       const wxSize& size, platform::DWORD staticStyle) {
    Create(parent, id, label, pos, size, staticStyle);
}

bool CTransparentStatic::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                                const wxSize& size, platform::DWORD staticStyle) {
    mStaticStyle = staticStyle;
    // Asked of the parent: this window does not exist yet.
    const bool see = parent != nullptr && parent->IsTransparentBackgroundSupported();
    SetBackgroundStyle(see ? wxBG_STYLE_TRANSPARENT : wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, wxBORDER_NONE | wxTRANSPARENT_WINDOW)) {
        return false;
    }
    SetLabel(label);
    Bind(wxEVT_PAINT, &CTransparentStatic::OnPaint, this);
    Bind(wxEVT_LEFT_UP, &CTransparentStatic::OnLeftUp, this);
    return true;
}

void CTransparentStatic::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxString text = GetLabel();
    if (text.empty()) {
        return;
    }
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetFont(GetFont());
    dc.SetTextForeground(GetForegroundColour());
    CTextPainter::Draw(dc, text, GetClientRect(), CStaticTextFlags::FromStyle(mStaticStyle));
}

void CTransparentStatic::OnLeftUp(wxMouseEvent& event) {
    event.Skip();
    if (!GetClientRect().Contains(event.GetPosition())) {
        return;
    }
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
}
