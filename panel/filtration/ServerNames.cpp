#include "panel/filtration/ServerNames.h"

#include <algorithm>

namespace servernames {
namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessNoCase(std::string_view a, std::string_view b) {
    const auto byLower = [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byLower)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byLower)) return false;
    return a < b;
}

std::string ToLower(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

bool ContainsNoCase(const std::vector<std::string>& list, std::string_view name) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& e) { return EqualNoCase(e, name); });
}

std::size_t EraseNoCase(std::vector<std::string>& list, std::string_view name) {
    return std::erase_if(list, [&](const std::string& e) { return EqualNoCase(e, name); });
}

std::size_t InsertSorted(std::vector<std::string>& lines, std::string name) {
    const auto at = std::upper_bound(lines.begin(), lines.end(), name,
                                     [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
    return static_cast<std::size_t>(lines.insert(at, std::move(name)) - lines.begin());
}

std::vector<std::string> SortedLines(const std::vector<std::string>& list) {
    std::vector<std::string> lines;
    for (const std::string& entry : list) {
        if (!entry.empty()) InsertSorted(lines, entry);
    }
    return lines;
}

}  // namespace servernames
