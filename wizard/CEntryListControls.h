#pragma once
// A list box with its Add, Edit and Remove picture buttons, shown from a
// CWizEntryList.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

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

    // What the buttons do to the page's model.
    struct SEditors {
        std::function<void(const std::string&)> add;
        std::function<void(std::size_t, const std::string&)> edit;
        std::function<void(std::size_t)> remove;
    };
    // Add and Edit run a Dialog over the page (Edit with the selected line
    // in it) and hand its text on after OK; Edit and Remove do nothing
    // without a selection. Each shows `entries` afterwards.
    template <typename Dialog>
    void BindEditing(const CWizEntryList& entries, SEditors editors);

private:
    wxListBox* mList;
    CGifButton* mAdd;
    CGifButton* mEdit;
    CGifButton* mRemove;
};

template <typename Dialog>
void CEntryListControls::BindEditing(const CWizEntryList& entries, SEditors editors) {
    wxWindow* const page = mList->GetParent();
    page->Bind(
        wxEVT_BUTTON,
        [this, page, &entries, add = std::move(editors.add)](wxCommandEvent&) {
            Dialog dialog(page);
            if (dialog.ShowModal() != wxID_OK) return;
            add(dialog.Text());
            Show(entries);
        },
        mAdd->GetId());
    page->Bind(
        wxEVT_BUTTON,
        [this, page, &entries, edit = std::move(editors.edit)](wxCommandEvent&) {
            const auto selected = Selection();
            if (!selected) return;
            Dialog dialog(page);
            dialog.SetText(entries.Lines()[*selected]);
            if (dialog.ShowModal() != wxID_OK) return;
            edit(*selected, dialog.Text());
            Show(entries);
        },
        mEdit->GetId());
    page->Bind(
        wxEVT_BUTTON,
        [this, &entries, remove = std::move(editors.remove)](wxCommandEvent&) {
            const auto selected = Selection();
            if (!selected) return;
            remove(*selected);
            Show(entries);
        },
        mRemove->GetId());
}

}  // namespace wizard
