#pragma once
// The finish page's text panel (control 1023).

#include <wx/control.h>

namespace wizard {

class CFinishText : public wxControl {
public:
    CFinishText(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

private:
    void OnPaint(wxPaintEvent& event);
};

}  // namespace wizard
