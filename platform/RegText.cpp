#include "platform/RegText.h"

#include <cstdint>
#include <cstdio>

namespace platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kSecurityTag = ";security=hex:";
// regedit wraps long hex lists after this column, continuing with "\".
constexpr std::size_t kWrapColumn = 76;

// ---- formatting --------------------------------------------------------

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
}

void AppendHexByte(std::string& out, BYTE b) {
    constexpr char digits[] = "0123456789abcdef";
    out += digits[b >> 4];
    out += digits[b & 0x0F];
}

// The bytes as "xx,xx,..." starting at column col, wrapped as regedit does.
void AppendHexList(std::string& out, const std::vector<BYTE>& data, std::size_t col, bool wrap) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        AppendHexByte(out, data[i]);
        col += 2;
        if (i + 1 == data.size()) break;
        out += ',';
        ++col;
        if (wrap && col >= kWrapColumn) {
            out += "\\\n  ";
            col = 2;
        }
    }
}

// A REG_SZ is written as a quoted text only when that form gives back the
// same bytes: one terminating zero, no other zero and no line break.
bool QuotableText(const RegValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < value.data.size(); ++i) {
        const BYTE b = value.data[i];
        if (b == 0 || b == '\n' || b == '\r') return false;
    }
    return true;
}

void AppendValue(std::string& out, const RegValue& value) {
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out += '@';
    } else {
        out += '"';
        AppendEscaped(out, value.name);
        out += '"';
    }
    out += '=';
    if (QuotableText(value)) {
        out += '"';
        AppendEscaped(out, std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                            value.data.size() - 1));
        out += '"';
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        const DWORD number = value.data[0] | (DWORD{value.data[1]} << 8) |
                             (DWORD{value.data[2]} << 16) | (DWORD{value.data[3]} << 24);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", number);
        out += text;
    } else {
        if (value.type == REG_BINARY) {
            out += "hex:";
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "hex(%x):", value.type);
            out += text;
        }
        AppendHexList(out, value.data, out.size() - lineStart, true);
    }
    out += '\n';
}

void AppendKey(std::string& out, const std::string& path, const RegNode& node, bool isRoot) {
    if (!isRoot || !node.values.empty() || !node.security.empty()) {
        out += '[';
        out += path;
        out += "]\n";
        if (!node.security.empty()) {
            out += kSecurityTag;
            AppendHexList(out, node.security, 0, false);
            out += '\n';
        }
        for (const RegValue& value : node.values) AppendValue(out, value);
        out += '\n';
    }
    for (const RegNode& sub : node.subkeys) AppendKey(out, path + '\\' + sub.name, sub, false);
}

// ---- parsing -----------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits, nothing else.
std::optional<DWORD> ParseHexNumber(std::string_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    DWORD n = 0;
    for (const char c : s) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        n = (n << 4) | static_cast<DWORD>(d);
    }
    return n;
}

// "xx,xx,..." (blanks allowed around the bytes), possibly empty.
std::optional<std::vector<BYTE>> ParseHexList(std::string_view s) {
    std::vector<BYTE> bytes;
    s = TrimBlanks(s);
    if (s.empty()) return bytes;
    while (true) {
        const std::size_t comma = s.find(',');
        const auto byte = ParseHexNumber(TrimBlanks(s.substr(0, comma)), 2);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<BYTE>(*byte));
        if (comma == std::string_view::npos) return bytes;
        s.remove_prefix(comma + 1);
    }
}

// A quoted text starting at s[pos] == '"'; \\ and \" are the escapes, any
// other backslash stands for itself. pos ends just past the closing quote.
std::optional<std::string> ParseQuoted(std::string_view s, std::size_t& pos) {
    if (pos >= s.size() || s[pos] != '"') return std::nullopt;
    std::string text;
    for (++pos; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '"') {
            ++pos;
            return text;
        }
        if (c == '\\' && pos + 1 < s.size() && (s[pos + 1] == '\\' || s[pos + 1] == '"')) ++pos;
        text += s[pos];
    }
    return std::nullopt;
}

std::optional<RegValue> ParseData(std::string_view data) {
    RegValue value;
    if (StartsWith(data, "\"")) {
        std::size_t pos = 0;
        const auto text = ParseQuoted(data, pos);
        if (!text || !TrimBlanks(data.substr(pos)).empty()) return std::nullopt;
        value.type = REG_SZ;
        value.data.assign(text->begin(), text->end());
        value.data.push_back(0);
        return value;
    }
    if (StartsWith(data, "dword:")) {
        const auto number = ParseHexNumber(TrimBlanks(data.substr(6)), 8);
        if (!number) return std::nullopt;
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<BYTE>(*number >> shift));
        return value;
    }
    std::string_view list;
    if (StartsWith(data, "hex:")) {
        value.type = REG_BINARY;
        list = data.substr(4);
    } else if (StartsWith(data, "hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        const auto type = ParseHexNumber(data.substr(4, close - 4), 8);
        if (!type) return std::nullopt;
        value.type = *type;
        list = data.substr(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = ParseHexList(list);
    if (!bytes) return std::nullopt;
    value.data = std::move(*bytes);
    return value;
}

// ---- encodings ---------------------------------------------------------

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 is told by its byte-order mark, or, without one, by a first
// character whose other byte is zero (every hive starts with ASCII).
enum class Encoding { Utf8, Utf16Le, Utf16Be };

Encoding DetectEncoding(std::string_view& bytes) {
    const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
        bytes.remove_prefix(2);
        return Encoding::Utf16Le;
    }
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
        bytes.remove_prefix(2);
        return Encoding::Utf16Be;
    }
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        return Encoding::Utf8;
    }
    if (bytes.size() >= 2 && at(0) != 0 && at(1) == 0) return Encoding::Utf16Le;
    if (bytes.size() >= 2 && at(0) == 0 && at(1) != 0) return Encoding::Utf16Be;
    return Encoding::Utf8;
}

// UTF-16 as UTF-8. A unit that cannot be decoded (a lone surrogate, an odd
// last byte) becomes U+FFFD, and its offset in the output goes to badAt.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian, std::vector<std::size_t>& badAt) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    const auto bad = [&] {
        badAt.push_back(out.size());
        AppendUtf8(out, 0xFFFD);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) bad();
        else AppendUtf8(out, u);
    }
    if (i < bytes.size()) bad();
    return out;
}

class HiveParser {
public:
    HiveParser(Hive hive, std::string_view bytes, bool strict) : hive_(hive), strict_(strict) {
        const Encoding encoding = DetectEncoding(bytes);
        std::string_view text = bytes;
        if (encoding != Encoding::Utf8) {
            decoded_ = DecodeUtf16(bytes, encoding == Encoding::Utf16Be, badUnits_);
            text = decoded_;
        }
        std::size_t offset = 0;
        std::size_t nextBad = 0;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
            std::string_view line = text.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            // A line holding an undecodable unit is damaged as a whole.
            bool undecodable = false;
            while (nextBad < badUnits_.size() && badUnits_[nextBad] < offset + length) {
                undecodable = true;
                ++nextBad;
            }
            lines_.push_back(undecodable ? kUndecodable : line);
            if (end == std::string_view::npos) break;
            text.remove_prefix(length);
            offset += length;
        }
    }

    std::optional<RegNode> Run(HiveTextFaults* faults) {
        faults_ = faults;
        std::size_t i = 0;
        while (i < lines_.size() && TrimBlanks(lines_[i]).empty()) ++i;
        if (i < lines_.size() && (lines_[i] == kHeader || lines_[i] == kOldHeader)) {
            ++i;
        } else if (i == lines_.size() && !strict_) {
            // Nothing but blank lines: an empty hive, not a damaged one.
        } else if (!Fault(i)) {
            return std::nullopt;
        }
        for (; i < lines_.size(); ++i) {
            const std::size_t first = i;
            const std::string_view line = lines_[i];
            bool ok = true;
            if (TrimBlanks(line).empty()) continue;
            if (StartsWith(line, ";")) {
                ok = ParseComment(line);
            } else if (StartsWith(line, "[")) {
                ok = ParseKeyLine(line);
            } else if (StartsWith(line, "\"") || StartsWith(line, "@")) {
                ok = ParseValueLine(i);
            } else {
                ok = false;
            }
            if (!ok && !Fault(first)) return std::nullopt;
        }
        return std::move(root_);
    }

private:
    // Stands for a line with an undecodable unit: no line begins so.
    static constexpr std::string_view kUndecodable = "\x01";

    // Notes a line (0-based index) that was not understood; true when
    // parsing may go on past it.
    bool Fault(std::size_t index) {
        if (faults_) {
            if (faults_->lines++ == 0) faults_->firstLine = index + 1;
        }
        return !strict_;
    }

    bool ParseComment(std::string_view line) {
        if (!StartsWith(line, kSecurityTag) || !current_) return true;
        auto bytes = ParseHexList(line.substr(kSecurityTag.size()));
        if (!bytes) return false;
        current_->security = std::move(*bytes);
        return true;
    }

    bool ParseKeyLine(std::string_view line) {
        current_ = nullptr;
        if (line.back() != ']') line = TrimBlanks(line);
        if (line.size() < 2 || line.back() != ']') return false;
        const std::string_view path = line.substr(1, line.size() - 2);
        const std::size_t sep = path.find('\\');
        if (!EqualNoCase(path.substr(0, sep), HiveKeyName(hive_))) return false;
        RegNode* node = &root_;
        std::size_t depth = 0;
        std::string_view rest = sep == std::string_view::npos ? std::string_view() : path.substr(sep + 1);
        while (!rest.empty()) {
            const std::size_t end = rest.find('\\');
            const std::string_view name = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
            if (name.empty()) continue;
            if (name.size() > kMaxKeyNameLength || ++depth > kMaxKeyDepth) return false;
            bool added = false;
            node = &node->SubkeyOrAdd(name, added);
        }
        current_ = node;
        return true;
    }

    // A value line; hex lists may continue on the following lines, each
    // line but the last ending in "\".
    bool ParseValueLine(std::size_t& i) {
        if (!current_) return false;
        const std::string_view line = lines_[i];
        std::size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else {
            auto quoted = ParseQuoted(line, pos);
            if (!quoted) return false;
            name = std::move(*quoted);
        }
        if (pos >= line.size() || line[pos] != '=') return false;
        std::string data(TrimBlanks(line.substr(pos + 1)));
        if (StartsWith(data, "hex")) {
            while (!data.empty() && data.back() == '\\') {
                if (++i >= lines_.size()) return false;
                data.pop_back();
                data += TrimBlanks(lines_[i]);
            }
        }
        auto value = ParseData(data);
        if (!value) return false;
        current_->PutValue(name, value->type, std::move(value->data));
        return true;
    }

    const Hive hive_;
    const bool strict_;
    std::string decoded_;   // the text when the file was UTF-16
    std::vector<std::size_t> badUnits_;   // offsets in decoded_
    HiveTextFaults* faults_ = nullptr;
    std::vector<std::string_view> lines_;
    RegNode root_;
    RegNode* current_ = nullptr;   // the key the value lines belong to
};

}  // namespace

std::string_view HiveKeyName(Hive hive) {
    switch (hive) {
    case Hive::CurrentUser: return "HKEY_CURRENT_USER";
    case Hive::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Hive::ClassesRoot: return "HKEY_CLASSES_ROOT";
    }
    return "HKEY_CURRENT_USER";
}

std::string FormatHiveText(Hive hive, const RegNode& root) {
    std::string out(kHeader);
    out += "\n\n";
    AppendKey(out, std::string(HiveKeyName(hive)), root, true);
    return out;
}

std::optional<RegNode> ParseHiveText(Hive hive, std::string_view text, bool strict, HiveTextFaults* faults) {
    return HiveParser(hive, text, strict).Run(faults);
}

}  // namespace platform
