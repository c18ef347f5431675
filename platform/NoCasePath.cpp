#include "platform/NoCasePath.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Root.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

std::vector<std::string> Components(std::string_view fragment) {
    std::vector<std::string> parts;
    std::string current;
    for (const char c : fragment) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

// The entry of folder whose name equals name without case, if any.
std::optional<std::string> FindEntryNoCase(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder / name, ec))) return name;
    std::vector<std::string> matches;
    const std::string wanted = Lower(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (Lower(entry) == wanted) matches.push_back(entry);
    }
    if (matches.empty()) return std::nullopt;
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::optional<fs::path> ResolveNoCase(const fs::path& base, std::string_view fragment) {
    fs::path path = base;
    bool existing = true;
    for (const std::string& part : Components(fragment)) {
        if (part == "..") return std::nullopt;
        if (part == ".") continue;
        if (existing) {
            if (const auto entry = FindEntryNoCase(path, part)) {
                path /= *entry;
                continue;
            }
            existing = false;
        }
        path /= part;
    }
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    if (ec || !IsInsideRoot(real)) return std::nullopt;
    return path.lexically_normal();
}

std::optional<fs::path> MapWindowsPath(std::string_view windowsPath) {
    if (windowsPath.size() < 3 || (windowsPath[0] != 'c' && windowsPath[0] != 'C') || windowsPath[1] != ':' ||
        (windowsPath[2] != '\\' && windowsPath[2] != '/')) {
        return std::nullopt;
    }
    return ResolveNoCase(ProfileFolder(), windowsPath.substr(3));
}

}  // namespace platform
