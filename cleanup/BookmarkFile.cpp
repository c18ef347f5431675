#include "cleanup/BookmarkFile.h"

#include <algorithm>
#include <cstdint>

namespace cleanup {

namespace {

constexpr std::string_view kDocType = "NETSCAPE-Bookmark-file-1";
constexpr auto npos = std::string_view::npos;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Upper(c);
    return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from) {
    if (from > text.size()) return npos;
    const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), word.begin(),
                                   word.end(), [](char a, char b) { return Upper(a) == Upper(b); });
    return found == text.end() ? npos : static_cast<std::size_t>(found - text.begin());
}

std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// "#65", "#x41": the code point, or nothing when it is none.
std::optional<std::uint32_t> NumericEntity(std::string_view name) {
    if (name.size() < 2 || name[0] != '#') return std::nullopt;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t code = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && Upper(c) >= 'A' && Upper(c) <= 'F') digit = Upper(c) - 'A' + 10;
        if (digit < 0) return std::nullopt;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    return code;
}

// Text with its character references decoded; one that is not known stays
// as it was written.
std::string Decode(std::string_view text) {
    struct Named {
        std::string_view name;
        char c;
    };
    static constexpr Named kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '},
    };
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t semi = text[i] == '&' ? text.find(';', i) : npos;
        if (semi == npos || semi - i > 12) {
            out += text[i++];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semi - i - 1);
        bool decoded = false;
        if (const auto code = NumericEntity(name)) {
            AppendUtf8(out, *code);
            decoded = true;
        }
        for (const Named& named : kNamed) {
            if (!decoded && name == named.name) {
                out += named.c;
                decoded = true;
            }
        }
        if (decoded) {
            i = semi + 1;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// Text without the tags inside it.
std::string WithoutTags(std::string_view text) {
    std::string out;
    bool inTag = false;
    for (const char c : text) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) out += c;
    }
    return out;
}

struct Tag {
    std::string name;             // upper case; "/DL" for a closing tag
    std::string_view attributes;  // the rest inside the brackets
};

// The next tag at or after at (comments skipped); at moves past it.
std::optional<Tag> NextTag(std::string_view html, std::size_t& at) {
    for (;;) {
        const std::size_t open = html.find('<', at);
        if (open == npos) return std::nullopt;
        if (html.substr(open, 4) == "<!--") {
            const std::size_t close = html.find("-->", open + 4);
            if (close == npos) return std::nullopt;
            at = close + 3;
            continue;
        }
        const std::size_t close = html.find('>', open);
        if (close == npos) return std::nullopt;
        const std::string_view inside = html.substr(open + 1, close - open - 1);
        std::size_t nameEnd = 0;
        while (nameEnd < inside.size() && !IsSpace(inside[nameEnd])) ++nameEnd;
        at = close + 1;
        return Tag{UpperCopy(inside.substr(0, nameEnd)), inside.substr(nameEnd)};
    }
}

// The text from at up to the closing tag of name; at moves past that tag.
std::string_view TextUntilClose(std::string_view html, std::size_t& at, std::string_view name) {
    const std::size_t close = FindNoCase(html, std::string("</") + std::string(name), at);
    if (close == npos) {
        const std::string_view rest = html.substr(at);
        at = html.size();
        return rest;
    }
    const std::string_view text = html.substr(at, close - at);
    const std::size_t end = html.find('>', close);
    at = end == npos ? html.size() : end + 1;
    return text;
}

// The value of one attribute (quoted with " or ', or bare); empty when absent.
std::string_view Attribute(std::string_view attributes, std::string_view name) {
    const std::string upper = UpperCopy(attributes);
    const std::string wanted = UpperCopy(name);
    for (std::size_t at = upper.find(wanted); at != std::string::npos; at = upper.find(wanted, at + 1)) {
        if (at > 0 && !IsSpace(upper[at - 1])) continue;
        std::size_t i = at + wanted.size();
        while (i < upper.size() && IsSpace(upper[i])) ++i;
        if (i >= upper.size() || upper[i] != '=') continue;
        ++i;
        while (i < upper.size() && IsSpace(upper[i])) ++i;
        if (i >= attributes.size()) return {};
        const char quote = attributes[i];
        if (quote == '"' || quote == '\'') {
            const std::size_t end = attributes.find(quote, i + 1);
            return attributes.substr(i + 1, end == npos ? npos : end - i - 1);
        }
        std::size_t end = i;
        while (end < attributes.size() && !IsSpace(attributes[end])) ++end;
        return attributes.substr(i, end - i);
    }
    return {};
}

void WriteItems(std::string& out, const std::vector<BookmarkItem>& items, std::size_t depth) {
    const std::string indent(4 * (depth + 1), ' ');
    for (const BookmarkItem& item : items) {
        if (!item.IsFolder()) {
            out += indent + "<DT><A HREF=\"" + Escape(item.url) + "\">" + Escape(item.title) + "</A>\n";
        } else if (depth + 1 < kMaxBookmarkDepth) {
            out += indent + "<DT><H3>" + Escape(item.title) + "</H3>\n";
            out += indent + "<DL><p>\n";
            WriteItems(out, item.children, depth + 1);
            out += indent + "</DL><p>\n";
        }
    }
}

}  // namespace

std::string WriteBookmarkHtml(const std::vector<BookmarkItem>& top) {
    std::string out = "<!DOCTYPE " + std::string(kDocType) +
                      ">\n"
                      "<!-- This is an automatically generated file.\n"
                      "     It will be read and overwritten.\n"
                      "     DO NOT EDIT! -->\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                      "<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n"
                      "<DL><p>\n";
    WriteItems(out, top, 0);
    out += "</DL><p>\n";
    return out;
}

std::optional<std::vector<BookmarkItem>> ReadBookmarkHtml(std::string_view html) {
    bool isBookmarkFile = false;
    std::vector<BookmarkItem> top;
    // The lists open at this moment, innermost last; only the innermost
    // ever grows, so the outer ones never move.
    std::vector<std::vector<BookmarkItem>*> open;
    std::size_t flattened = 0;  // lists opened past the depth limit
    std::optional<std::string> folder;  // a heading still waiting for its list
    const auto current = [&] { return open.empty() ? &top : open.back(); };
    const auto settleFolder = [&] {
        if (folder) current()->push_back(BookmarkItem{*folder, {}, {}});
        folder.reset();
    };
    std::size_t at = 0;
    while (const auto tag = NextTag(html, at)) {
        if (tag->name == "!DOCTYPE") {
            isBookmarkFile = isBookmarkFile || FindNoCase(tag->attributes, kDocType, 0) != npos;
        } else if (tag->name == "H3") {
            settleFolder();
            folder = Decode(Trim(WithoutTags(TextUntilClose(html, at, "H3"))));
        } else if (tag->name == "DL") {
            if (open.empty() && !folder) {
                open.push_back(&top);
            } else if (folder && open.size() < kMaxBookmarkDepth) {
                current()->push_back(BookmarkItem{*folder, {}, {}});
                open.push_back(&current()->back().children);
            } else {
                ++flattened;
            }
            folder.reset();
        } else if (tag->name == "/DL") {
            settleFolder();
            if (flattened > 0)
                --flattened;
            else if (open.size() > 1)
                open.pop_back();
        } else if (tag->name == "A") {
            settleFolder();
            const std::string url = Decode(Trim(Attribute(tag->attributes, "HREF")));
            std::string title = Decode(Trim(WithoutTags(TextUntilClose(html, at, "A"))));
            if (!url.empty()) current()->push_back(BookmarkItem{std::move(title), url, {}});
        }
    }
    settleFolder();
    if (!isBookmarkFile) return std::nullopt;
    return top;
}

}  // namespace cleanup
