#pragma once
// A group of radio buttons that shows one choice or none. The toolkit
// keeps exactly one button of a group checked (a lone button is always
// checked and cannot be cleared), so the group ends with a hidden button
// that holds the check while no choice is shown. The buttons are made one
// after another, the first starting the group, so a page's groups never
// run into each other.

#include <map>
#include <vector>

#include <wx/gdicmn.h>
#include <wx/radiobut.h>

class CRadioGroup {
public:
    struct Choice {
        int id;
        const char* label;
        wxPoint position;
    };

    CRadioGroup(wxWindow* parent, const std::vector<Choice>& choices);

    // Checks the button of id; an id outside the group checks none.
    void Check(int id);
    // The checked button's id, or 0 when none is.
    int Checked() const;
    wxRadioButton* Button(int id) const;
    const std::map<int, wxRadioButton*>& Buttons() const { return m_Buttons; }

private:
    std::map<int, wxRadioButton*> m_Buttons;
    wxRadioButton* m_pNone = nullptr;
};
