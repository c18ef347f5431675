#include "relay/engine/FindNoCase.h"

#include <cstring>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualNoCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::size_t FindNoCase(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return 0;
    if (pattern.size() > text.size()) return std::string_view::npos;
    // Candidates are found with memchr on the first character in either
    // case; only they are compared whole.
    const char lower = Lower(pattern[0]);
    const char upper = Upper(pattern[0]);
    const char* const base = text.data();
    const std::size_t end = text.size() - pattern.size() + 1;  // one past the last start
    for (std::size_t at = 0; at < end;) {
        const void* found = std::memchr(base + at, lower, end - at);
        std::size_t i = found ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : end;
        if (upper != lower) {
            found = std::memchr(base + at, upper, i - at);
            if (found) i = static_cast<std::size_t>(static_cast<const char*>(found) - base);
        }
        if (i == end) return std::string_view::npos;
        if (EqualNoCase(base + i + 1, pattern.data() + 1, pattern.size() - 1)) return i;
        at = i + 1;
    }
    return std::string_view::npos;
}

const char* FindNoCase(const char* text, const char* pattern) {
    if (!text || !pattern) return nullptr;
    const std::size_t at = FindNoCase(std::string_view(text), std::string_view(pattern));
    return at == std::string_view::npos ? nullptr : text + at;
}
