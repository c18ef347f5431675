#include "toolbar/CToolBarWnd.h"

bool CToolBarWnd::Create(wxWindow* parent, const wxRect& rect) {
    // Hidden before it exists, so it is made hidden.
    Hide();
    return wxWindow::Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE, "CToolBarWnd");
}
