#include "controls/CEditFilter.h"

#include <wx/clipbrd.h>
#include <wx/textctrl.h>

#include <limits>

std::string CEditFilter::Pass(std::string_view text, std::string_view allowed, std::size_t room) {
    std::string passed;
    for (const char c : text) {
        if (passed.size() == room) break;
        if (allowed.find(c) != std::string_view::npos) passed += c;
    }
    return passed;
}

void CEditFilter::DigitsOnly(wxTextCtrl& edit) { Install(edit, kDigits, 0); }

void CEditFilter::IpAddress(wxTextCtrl& edit) { Install(edit, kAddressCharacters, kAddressLength); }

namespace {

// What a typed or pasted text may still add: the field's length without
// the selection it replaces, against the limit (0 for none).
std::size_t Room(const wxTextCtrl& edit, std::size_t maxLength) {
    if (maxLength == 0) return std::numeric_limits<std::size_t>::max();
    long from = 0;
    long to = 0;
    edit.GetSelection(&from, &to);
    const std::size_t kept = edit.GetValue().length() - static_cast<std::size_t>(to - from);
    return kept < maxLength ? maxLength - kept : 0;
}

}  // namespace

// The length is kept here, not by the toolkit, which would refuse a whole
// stored value that is longer and show the field empty.
void CEditFilter::Install(wxTextCtrl& edit, std::string_view allowed, std::size_t maxLength) {
    edit.Bind(wxEVT_CHAR, [&edit, allowed, maxLength](wxKeyEvent& event) {
        const wxChar typed = event.GetUnicodeKey();
        const bool editing = typed == WXK_NONE || typed < WXK_SPACE || typed == WXK_DELETE ||
                             event.HasModifiers();
        const bool allowedCharacter =
            typed < 0x80 && allowed.find(static_cast<char>(typed)) != std::string_view::npos;
        if (editing || (allowedCharacter && Room(edit, maxLength) > 0)) event.Skip();
    });
    edit.Bind(wxEVT_TEXT_PASTE, [&edit, allowed, maxLength](wxClipboardTextEvent&) {
        wxTextDataObject data;
        if (!wxTheClipboard->Open()) return;
        const bool got = wxTheClipboard->GetData(data);
        wxTheClipboard->Close();
        if (got) edit.WriteText(wxString::FromUTF8(Pass(data.GetText().utf8_string(), allowed, Room(edit, maxLength))));
    });
}
