#pragma once
// The welcome page's text panel (control 1023).

#include <wx/control.h>

namespace wizard {

class CWelcomeText : public wxControl {
public:
    CWelcomeText(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

private:
    void OnPaint(wxPaintEvent& event);
};

}  // namespace wizard
