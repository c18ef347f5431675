#include "wizard/PageControls.h"

#include <string>

#include <wx/statbox.h>

namespace wizard {

void SetFaces(CGifButton& button, const char* face, bool enabled) {
    const std::string base = face;
    if (enabled) {
        button.SetImages(base, base + "_OVER");
    } else {
        button.SetImages(base + "_INACTIVE", base + "_INACTIVE");
    }
    button.Enable(enabled);
    button.Refresh();
}

void MakeGroups(wxWindow* parent, std::span<const SGroupPlace> groups) {
    for (const SGroupPlace& group : groups) {
        new wxStaticBox(parent, group.id, group.text, wxPoint(group.x, group.y), wxSize(group.width, group.height));
    }
}

std::map<int, wxCheckBox*> MakeBoxes(wxWindow* parent, std::span<const SBoxPlace> places) {
    std::map<int, wxCheckBox*> boxes;
    for (const SBoxPlace& place : places) {
        boxes[place.box] = new wxCheckBox(parent, place.box, place.text, wxPoint(place.x, place.y));
    }
    return boxes;
}

void ShowBoxes(const std::map<int, wxCheckBox*>& boxes, const CWizBoxTable& table) {
    for (const auto& [id, box] : boxes) box->SetValue(table.IsChecked(id));
}

void ReadBoxes(const std::map<int, wxCheckBox*>& boxes, CWizBoxTable& table) {
    for (const auto& [id, box] : boxes) table.SetChecked(id, box->GetValue());
}

void ApplySideDialogColours(wxWindow* dialog) {
    dialog->SetBackgroundColour(SideDialogBackground());
    for (wxWindow* child : dialog->GetChildren()) child->SetBackgroundColour(SideDialogBackground());
}

}  // namespace wizard
