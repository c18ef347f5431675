#pragma once
// Edit fields that take only some characters: digits alone (the number
// fields of the templates), or an IP address (digits and dots, at most 15
// characters, "255.255.255.255"). Typing and pasting are filtered before
// the text changes, so a field's change handler never sees a refused
// character; editing keys and shortcuts pass.

#include <cstddef>
#include <string>
#include <string_view>

class wxTextCtrl;

class CEditFilter {
public:
    static constexpr std::string_view kDigits = "0123456789";
    static constexpr std::string_view kAddressCharacters = "0123456789.";
    static constexpr std::size_t kAddressLength = 15;

    static void DigitsOnly(wxTextCtrl& edit);
    static void IpAddress(wxTextCtrl& edit);

    // The characters of text that are allowed, in order, at most room of them.
    static std::string Pass(std::string_view text, std::string_view allowed, std::size_t room);

private:
    static void Install(wxTextCtrl& edit, std::string_view allowed, std::size_t maxLength);
};
