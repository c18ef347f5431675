#pragma once
// Small pieces the custom pages share: a picture button's faces that follow
// its enabled state, check boxes made from a table, and the light-blue look
// of the side dialogs.

#include <map>
#include <span>

#include <wx/checkbox.h>
#include <wx/colour.h>

#include "wizard/CGifButton.h"
#include "wizard/CWizBoxTable.h"

namespace wizard {

// Enabled: face and face + "_OVER"; disabled: face + "_INACTIVE" for both.
void SetFaces(CGifButton& button, const char* face, bool enabled);

// A group box of a page or dialog. Boxes are made before the controls they
// frame: under GTK a later sibling paints over an earlier one.
struct SGroupPlace {
    int id;
    const char* text;
    int x;
    int y;
    int width;
    int height;
};

void MakeGroups(wxWindow* parent, std::span<const SGroupPlace> groups);

struct SBoxPlace {
    int box;
    const char* text;
    int x;
    int y;
};

std::map<int, wxCheckBox*> MakeBoxes(wxWindow* parent, std::span<const SBoxPlace> places);
void ShowBoxes(const std::map<int, wxCheckBox*>& boxes, const CWizBoxTable& table);
void ReadBoxes(const std::map<int, wxCheckBox*>& boxes, CWizBoxTable& table);

// COLORREF 0xFFF3EA.
inline wxColour SideDialogBackground() { return wxColour(0xEA, 0xF3, 0xFF); }
// Gives the dialog and each of its children the light-blue background.
void ApplySideDialogColours(wxWindow* dialog);

}  // namespace wizard
