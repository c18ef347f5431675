#pragma once
// Bounded edits the HTTP filter makes in place: every search and every
// write stays inside the text it is given, so a buffer never changes size.

#include <cstddef>
#include <string_view>

namespace filtertext {

inline constexpr std::size_t npos = std::string_view::npos;

// The text the filters see: up to the first NUL, at most length bytes.
std::string_view Visible(const char* text, int length);

// Case-insensitive search from offset; npos when absent.
std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from = 0);
// Case-sensitive search from offset; npos when absent.
std::size_t FindExact(std::string_view text, std::string_view pattern, std::size_t from = 0);

// Overwrites [from, to) with blanks, cut to size.
void Blank(char* text, std::size_t size, std::size_t from, std::size_t to);
// Writes bytes at from, cut to size; returns how many were written.
std::size_t Write(char* text, std::size_t size, std::size_t from, std::string_view bytes);

}  // namespace filtertext
