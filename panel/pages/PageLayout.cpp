#include "panel/pages/PageLayout.h"

#include <algorithm>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

void FitToText(wxWindow* control) {
    const wxSize best = control->GetBestSize();
    if (dynamic_cast<wxStaticText*>(control) || dynamic_cast<wxCheckBox*>(control) ||
        dynamic_cast<wxRadioButton*>(control)) {
        control->SetSize(best);
    } else if (dynamic_cast<wxChoice*>(control)) {
        const wxSize size = control->GetSize();
        control->SetSize(std::max(size.x, best.x), best.y);
    }
}

int PlaceRow(int x, int middleY, std::initializer_list<wxWindow*> controls, int gap) {
    bool first = true;
    for (wxWindow* control : controls) {
        if (!first) x += gap;
        first = false;
        FitToText(control);
        const wxSize size = control->GetSize();
        control->Move(x, middleY - size.y / 2);
        x += size.x;
    }
    return x;
}
