#pragma once
// A list box with its Add, Edit and Remove picture buttons, shown from a
// CWizEntryList.

#include <optional>

#include <wx/listbox.h>

#include "wizard/CGifButton.h"
#include "wizard/CWizEntryList.h"

namespace wizard {

class CEntryListControls {
public:
    struct SIds {
        int list;
        int add;
        int edit;
        int remove;
    };

    // The list at (x, y), the buttons in a row beneath it.
    CEntryListControls(wxWindow* parent, const SIds& ids, const wxPoint& at, const wxSize& size);

    // The lines, then each control's enabling with its faces.
    void Show(const CWizEntryList& entries);
    std::optional<std::size_t> Selection() const;
    wxListBox& List() { return *mList; }

private:
    wxListBox* mList;
    CGifButton* mAdd;
    CGifButton* mEdit;
    CGifButton* mRemove;
};

}  // namespace wizard
