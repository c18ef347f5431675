#include "relay/engine/FindNoCase.h"

#include <algorithm>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t FindNoCase(std::string_view text, std::string_view pattern) {
    const auto found = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(),
                                   [](char a, char b) { return Lower(a) == Lower(b); });
    if (found == text.end() && !pattern.empty()) return std::string_view::npos;
    return static_cast<std::size_t>(found - text.begin());
}

const char* FindNoCase(const char* text, const char* pattern) {
    if (!text || !pattern) return nullptr;
    const std::size_t at = FindNoCase(std::string_view(text), std::string_view(pattern));
    return at == std::string_view::npos ? nullptr : text + at;
}
