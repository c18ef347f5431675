#pragma once
// The engine's case-insensitive substring search (ASCII lower-casing).

#include <cstddef>
#include <string_view>

// The first occurrence of pattern in text; text itself for an empty
// pattern; null when absent or when either is null.
const char* FindNoCase(const char* text, const char* pattern);
// The same over bounded texts: the offset of the first occurrence, 0 for an
// empty pattern, npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view pattern);
