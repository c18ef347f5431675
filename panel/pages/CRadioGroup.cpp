#include "panel/pages/CRadioGroup.h"

CRadioGroup::CRadioGroup(wxWindow* parent, const std::vector<Choice>& choices) {
    bool first = true;
    for (const Choice& choice : choices) {
        m_Buttons[choice.id] =
            new wxRadioButton(parent, choice.id, choice.label, choice.position, wxDefaultSize, first ? wxRB_GROUP : 0);
        first = false;
    }
    m_pNone = new wxRadioButton(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, first ? wxRB_GROUP : 0);
    m_pNone->Hide();
}

void CRadioGroup::Check(int id) {
    const auto found = m_Buttons.find(id);
    wxRadioButton* button = found != m_Buttons.end() ? found->second : m_pNone;
    if (!button->GetValue()) button->SetValue(true);
}

int CRadioGroup::Checked() const {
    for (const auto& [id, button] : m_Buttons) {
        if (button->GetValue()) return id;
    }
    return 0;
}

wxRadioButton* CRadioGroup::Button(int id) const {
    const auto found = m_Buttons.find(id);
    return found != m_Buttons.end() ? found->second : nullptr;
}
