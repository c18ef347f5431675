#pragma once
// A static text painted over whatever lies beneath it (no background of
// its own), with the text placement its static styles (SS_*) ask for.
// Mostly used without text, as a click zone over a header picture: a
// click sends wxEVT_BUTTON with the control's id.

#include <wx/control.h>

#include "platform/Types.h"

class CTransparentStatic : public wxControl {
public:
    CTransparentStatic() = default;
    CTransparentStatic(wxWindow* parent, wxWindowID id, const wxString& label = {},
                       const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                       platform::DWORD staticStyle = 0);

    bool Create(wxWindow* parent, wxWindowID id, const wxString& label = {},
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                platform::DWORD staticStyle = 0);

    platform::DWORD StaticStyle() const { return mStaticStyle; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftUp(wxMouseEvent& event);

    platform::DWORD mStaticStyle = 0;
};
