#pragma once
// The band's host window: the toolbar control's parent, made hidden over
// the site window's client area.

#include <wx/window.h>

class CToolBarWnd : public wxWindow {
public:
    CToolBarWnd() = default;
    bool Create(wxWindow* parent, const wxRect& rect);
};
