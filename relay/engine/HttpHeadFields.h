#pragma once
// The lines of an HTTP head (a request or response head up to and with its
// blank line) as pure functions, shared by the request parsing and the
// filter. A line ends in LF, with an optional CR before it; a field is found
// by its name at the start of a line, in any position and any case, so a
// field never matches inside another field's name or value.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace httphead {

inline constexpr std::size_t npos = std::string_view::npos;

// The offset just past the blank line that ends the head at the start of
// bytes, npos while there is none. from: how many bytes an earlier search
// covered already (the search resumes a little before it).
std::size_t FindHeadEnd(std::string_view bytes, std::size_t from = 0);

// The start line (request line or status line), without its line end.
std::string_view StartLine(std::string_view head);

// One field line of a head. Offsets are into the head: the line starts at
// begin, its value (blanks around it dropped) is [valueBegin, valueEnd), and
// its line end (CR LF or LF) starts at lineEnd.
struct Field {
    std::string_view name;  // as written, blanks before the colon dropped
    std::string_view value;
    std::size_t begin = 0;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
    std::size_t lineEnd = 0;
};

// Every field line after the start line, in order; the blank line ends
// them, and a last line without its line end is not taken. Lines without a
// colon and folded continuation lines are skipped.
std::vector<Field> Fields(std::string_view head);

// The first field named name (case ignored).
std::optional<Field> FindField(std::string_view head, std::string_view name);
std::optional<std::string_view> FieldValue(std::string_view head, std::string_view name);

bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace httphead
