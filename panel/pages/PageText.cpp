#include "panel/pages/PageText.h"

#include <climits>

#include "kvres/DeskStrings.h"
#include "platform/InternetConnection.h"

std::string PageString(unsigned id) { return kvres::DeskStrings().LoadString(id); }

int AsciiToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string DecimalText(long long value) { return std::to_string(value); }

std::string EditLineBreaks(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        if (c != '\r') shown += c;
    }
    return shown;
}

bool IsInternetConnected() {
    platform::DWORD flags = 0;
    const bool connected = platform::InternetGetConnectedState(&flags, 0);
    return connected && flags != platform::INTERNET_CONNECTION_OFFLINE;
}
