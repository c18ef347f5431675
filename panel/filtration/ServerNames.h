#pragma once
// Server names as the filtration lists compare them: without regard to
// letter case. A list box of sorted lines keeps them in that order.

#include <string>
#include <string_view>
#include <vector>

namespace servernames {

bool EqualNoCase(std::string_view a, std::string_view b);
// The order of a sorted list box: case-insensitive, then byte-wise.
bool LessNoCase(std::string_view a, std::string_view b);
std::string ToLower(std::string_view name);
bool ContainsNoCase(const std::vector<std::string>& list, std::string_view name);
// Erases every entry equal to name; how many went.
std::size_t EraseNoCase(std::vector<std::string>& list, std::string_view name);
// Inserts name at its sorted place (after equal lines); returns its index.
std::size_t InsertSorted(std::vector<std::string>& lines, std::string name);
// The lines of list, sorted, without empty entries.
std::vector<std::string> SortedLines(const std::vector<std::string>& list);

// The server name the add dialog opens with.
inline constexpr const char* kSampleServer = "www.servername.com";

}  // namespace servernames
