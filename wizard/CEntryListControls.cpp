#include "wizard/CEntryListControls.h"

#include "wizard/PageControls.h"

namespace wizard {

CEntryListControls::CEntryListControls(wxWindow* parent, const SIds& ids, const wxPoint& at, const wxSize& size)
    : mList(new wxListBox(parent, ids.list, at, size)),
      mAdd(new CGifButton(parent, ids.add, wxPoint(at.x, at.y + size.y + 6))),
      mEdit(new CGifButton(parent, ids.edit, wxPoint(at.x + 90, at.y + size.y + 6))),
      mRemove(new CGifButton(parent, ids.remove, wxPoint(at.x + 180, at.y + size.y + 6))) {}

void CEntryListControls::Show(const CWizEntryList& entries) {
    const auto selected = Selection();
    mList->Clear();
    for (const std::string& line : entries.Lines()) mList->Append(wxString::FromUTF8(line));
    if (selected && *selected < entries.Lines().size()) mList->SetSelection(static_cast<int>(*selected));
    const CWizEntryList::SState& state = entries.State();
    mList->Enable(state.list);
    SetFaces(*mAdd, "IDR_ADD", state.add);
    SetFaces(*mEdit, "IDR_EDIT", state.edit);
    SetFaces(*mRemove, "IDR_REMOVE", state.remove);
}

std::optional<std::size_t> CEntryListControls::Selection() const {
    const int selected = mList->GetSelection();
    if (selected == wxNOT_FOUND) return std::nullopt;
    return static_cast<std::size_t>(selected);
}

}  // namespace wizard
