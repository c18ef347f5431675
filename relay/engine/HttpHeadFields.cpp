#include "relay/engine/HttpHeadFields.h"

#include <cstring>

namespace httphead {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The end of the line that starts at begin: the offset of its CR LF or LF,
// and (through next) the start of the following line.
std::size_t LineEnd(std::string_view head, std::size_t begin, std::size_t& next) {
    const std::size_t lf = head.find('\n', begin);
    if (lf == npos) {
        next = head.size();
        return head.size();
    }
    next = lf + 1;
    return lf > begin && head[lf - 1] == '\r' ? lf - 1 : lf;
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

std::size_t FindHeadEnd(std::string_view bytes, std::size_t from) {
    // The blank line is LF LF or LF CR LF; a search that stopped at from may
    // have seen its first two bytes already.
    std::size_t at = from >= 2 ? from - 2 : 0;
    while (at < bytes.size()) {
        const void* lf = std::memchr(bytes.data() + at, '\n', bytes.size() - at);
        if (!lf) return npos;
        const std::size_t i = static_cast<std::size_t>(static_cast<const char*>(lf) - bytes.data());
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') return i + 2;
        if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n') return i + 3;
        at = i + 1;
    }
    return npos;
}

std::string_view StartLine(std::string_view head) {
    std::size_t next = 0;
    return head.substr(0, LineEnd(head, 0, next));
}

std::vector<Field> Fields(std::string_view head) {
    std::vector<Field> fields;
    std::size_t begin = 0;
    LineEnd(head, 0, begin);
    while (begin < head.size()) {
        // A line is whole with its line end only.
        if (head.find('\n', begin) == npos) break;
        std::size_t next = 0;
        const std::size_t end = LineEnd(head, begin, next);
        if (end == begin) break;  // the blank line
        const std::string_view line = head.substr(begin, end - begin);
        const std::size_t colon = line.find(':');
        if (!IsBlank(line[0]) && colon != npos && colon > 0) {
            Field f;
            std::size_t nameEnd = colon;
            while (nameEnd > 0 && IsBlank(line[nameEnd - 1])) --nameEnd;
            f.name = line.substr(0, nameEnd);
            std::size_t vb = colon + 1;
            while (vb < line.size() && IsBlank(line[vb])) ++vb;
            std::size_t ve = line.size();
            while (ve > vb && IsBlank(line[ve - 1])) --ve;
            f.value = line.substr(vb, ve - vb);
            f.begin = begin;
            f.valueBegin = begin + vb;
            f.valueEnd = begin + ve;
            f.lineEnd = end;
            fields.push_back(f);
        }
        begin = next;
    }
    return fields;
}

std::optional<Field> FindField(std::string_view head, std::string_view name) {
    for (const Field& f : Fields(head)) {
        if (EqualNoCase(f.name, name)) return f;
    }
    return std::nullopt;
}

std::optional<std::string_view> FieldValue(std::string_view head, std::string_view name) {
    const std::optional<Field> f = FindField(head, name);
    if (!f) return std::nullopt;
    return f->value;
}

}  // namespace httphead
