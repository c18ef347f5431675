#include "platform/IniFile.h"

#include <optional>

#include "platform/SafeFile.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// One line of the file: where it starts and how long it is without and
// with its line end.
struct Line {
    std::size_t begin;
    std::size_t textLength;
    std::size_t fullLength;
};

std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t nl = bytes.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? bytes.size() : nl + 1;
        std::size_t text = (nl == std::string_view::npos ? bytes.size() : nl) - pos;
        if (text > 0 && bytes[pos + text - 1] == '\r') --text;
        lines.push_back({pos, text, end - pos});
        pos = end;
    }
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> HeaderName(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '[') return std::nullopt;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

// The body of a section: the lines after its header up to the next header.
struct Section {
    std::size_t header;      // index of the header line
    std::size_t bodyBegin;   // first body line
    std::size_t bodyEnd;     // one past the last body line
};

std::optional<Section> FindSection(std::string_view bytes, const std::vector<Line>& lines,
                                   std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto header = HeaderName(bytes.substr(lines[i].begin, lines[i].textLength));
        if (!header || !EqualNoCase(*header, name)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !HeaderName(bytes.substr(lines[end].begin, lines[end].textLength))) ++end;
        return Section{i, i + 1, end};
    }
    return std::nullopt;
}

std::string_view LineText(std::string_view bytes, const Line& line) {
    return bytes.substr(line.begin, line.textLength);
}

}  // namespace

bool WritePrivateProfileSection(std::string_view section, const std::vector<std::string>& lines,
                                const fs::path& file) {
    // A file that is there but cannot be read is never replaced by one
    // section alone: everything else in it would be lost.
    const FileContents existing = ReadFileIfPresent(file);
    if (existing.state == FileContents::State::Unreadable) return false;
    const std::string& bytes = existing.bytes;
    const std::vector<Line> split = SplitLines(bytes);

    std::string body;
    for (const std::string& line : lines) {
        body += line;
        body += "\r\n";
    }

    std::string out;
    if (const auto found = FindSection(bytes, split, section)) {
        // Blank lines at the end of the body separate it from what follows;
        // they are not part of the entries being replaced.
        std::size_t end = found->bodyEnd;
        while (end > found->bodyBegin && Trim(LineText(bytes, split[end - 1])).empty()) --end;

        const Line& header = split[found->header];
        const std::size_t headerEnd = header.begin + header.fullLength;
        out.assign(bytes, 0, headerEnd);
        if (!body.empty() && (out.empty() || out.back() != '\n')) out += "\r\n";
        out += body;
        const std::size_t restBegin = end < split.size() ? split[end].begin : bytes.size();
        out.append(bytes, restBegin, std::string::npos);
    } else {
        out = bytes;
        if (!out.empty() && out.back() != '\n') out += "\r\n";
        out += "[";
        out += section;
        out += "]\r\n";
        out += body;
    }
    return WriteFileAtomic(file, out);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view fallback, const fs::path& file) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) return std::string(fallback);
    const std::vector<Line> split = SplitLines(*bytes);
    const auto found = FindSection(*bytes, split, section);
    if (!found) return std::string(fallback);
    for (std::size_t i = found->bodyBegin; i < found->bodyEnd; ++i) {
        const std::string_view text = LineText(*bytes, split[i]);
        const std::size_t eq = text.find('=');
        if (eq == std::string_view::npos || !EqualNoCase(Trim(text.substr(0, eq)), Trim(key))) continue;
        std::string_view value = Trim(text.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::string(fallback);
}

std::vector<std::string> GetPrivateProfileSection(std::string_view section, const fs::path& file) {
    std::vector<std::string> result;
    const auto bytes = ReadWholeFile(file);
    if (!bytes) return result;
    const std::vector<Line> split = SplitLines(*bytes);
    const auto found = FindSection(*bytes, split, section);
    if (!found) return result;
    for (std::size_t i = found->bodyBegin; i < found->bodyEnd; ++i) {
        const std::string_view text = LineText(*bytes, split[i]);
        if (!Trim(text).empty()) result.emplace_back(text);
    }
    return result;
}

}  // namespace platform
