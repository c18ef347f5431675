#include "relay/filter/FilterText.h"

#include <algorithm>
#include <cstring>

#include "relay/engine/FindNoCase.h"

namespace filtertext {

std::string_view Visible(const char* text, int length) {
    if (!text || length <= 0) return {};
    const auto* end = static_cast<const char*>(std::memchr(text, '\0', static_cast<std::size_t>(length)));
    return {text, end ? static_cast<std::size_t>(end - text) : static_cast<std::size_t>(length)};
}

std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from) {
    if (from > text.size()) return npos;
    const std::size_t at = FindNoCase(text.substr(from), pattern);
    return at == npos ? npos : from + at;
}

std::size_t FindExact(std::string_view text, std::string_view pattern, std::size_t from) {
    return text.find(pattern, from);
}

void Blank(char* text, std::size_t size, std::size_t from, std::size_t to) {
    to = std::min(to, size);
    if (from < to) std::memset(text + from, ' ', to - from);
}

std::size_t Write(char* text, std::size_t size, std::size_t from, std::string_view bytes) {
    if (from >= size) return 0;
    const std::size_t n = std::min(bytes.size(), size - from);
    std::memcpy(text + from, bytes.data(), n);
    return n;
}

}  // namespace filtertext
