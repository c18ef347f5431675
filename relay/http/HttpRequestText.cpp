#include "relay/http/HttpRequestText.h"

#include <algorithm>
#include <cstring>

#include "relay/engine/FindNoCase.h"
#include "relay/engine/HttpHeadFields.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// The method is at most this long; a longer one is not a method.
constexpr std::size_t kMaxMethod = 31;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The host and port of an absolute request-line target ("http://" or
// "ftp://", any case), up to its path, query or end; nullopt for any other
// target.
std::optional<std::string_view> TargetAuthority(std::string_view request) {
    const std::size_t blank = request.find(' ');
    if (blank == std::string_view::npos || blank == 0 || blank > kMaxMethod) return std::nullopt;
    const std::string_view target = request.substr(blank + 1);
    for (const std::string_view scheme : {std::string_view("http://"), std::string_view("ftp://")}) {
        if (target.size() <= scheme.size() || FindNoCase(target.substr(0, scheme.size()), scheme) != 0) continue;
        const std::string_view rest = target.substr(scheme.size());
        const std::string_view authority = rest.substr(0, rest.find_first_of("/? \r\n"));
        if (authority.empty()) return std::nullopt;
        return authority;
    }
    return std::nullopt;
}

// The value of the Host field, wherever it stands in the head; without one
// (an HTTP/1.0 request may leave it out) the host of an absolute target.
// Empty with found false without either.
std::string_view HostLineValue(std::string_view request, bool& found) {
    std::optional<std::string_view> value = httphead::FieldValue(request, "host");
    if (!value) value = TargetAuthority(request);
    found = value.has_value();
    return value.value_or(std::string_view());
}

int PortValue(std::string_view text) {
    if (text.empty() || text.size() > 5) return 0;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value <= 65535 ? value : 0;
}

}  // namespace

HttpRequestInfo ExtractRequestInfo(std::string_view request) {
    HttpRequestInfo info;
    const std::size_t blank = request.find(' ');
    if (blank == std::string_view::npos) return info;

    std::string_view target;
    if (Lower(request.substr(0, blank)) == "connect") {
        info.connect = true;
        const std::size_t begin = blank + 1;
        const std::size_t end = std::min(request.find(' ', begin), request.find(kLineEnd, begin));
        target = request.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    } else {
        bool found = false;
        target = HostLineValue(request, found);
        if (!found) return info;
    }

    const std::size_t colon = target.find(':');
    info.host = Lower(target.substr(0, colon));
    info.port = colon == std::string_view::npos ? 80 : PortValue(target.substr(colon + 1));
    return info;
}

bool MakeRequestRelative(char* buffer, std::size_t length) {
    if (!buffer || length == 0) return false;
    const std::string_view request(buffer, length);
    std::string_view scheme;
    if (request.find("http://") != std::string_view::npos) {
        scheme = "http://";
    } else if (request.find("ftp://") != std::string_view::npos) {
        scheme = "ftp://";
    } else {
        return false;
    }
    bool found = false;
    std::string_view host = HostLineValue(request, found);
    if (!found || host.empty()) return false;
    if (scheme == "ftp://") host = host.substr(0, host.find(':'));
    const std::string prefix = std::string(scheme) + std::string(host);

    const std::size_t blank = request.find(' ');
    if (blank == std::string_view::npos || blank == 0 || blank > kMaxMethod) return false;
    const std::size_t target = blank + 1;
    if (length - target < prefix.size() || FindNoCase(request.substr(target, prefix.size()), prefix) != 0) {
        return false;
    }
    std::size_t path = target + prefix.size();
    const char after = path < length ? buffer[path] : ' ';
    if (after != '/' && after != '?' && after != ' ') return false;
    if (after != '/') {
        // A bare host or a bare query asks for the root path.
        --path;
        buffer[path] = '/';
    }
    // "METHOD http://host/a" becomes "      ...METHOD /a".
    const std::string method(buffer, blank);
    std::memset(buffer, ' ', path);
    std::memcpy(buffer + path - 1 - method.size(), method.data(), method.size());
    return true;
}

std::size_t CountLeadingBlanks(std::string_view data) {
    std::size_t n = 0;
    while (n < data.size() && data[n] == ' ') ++n;
    return n;
}
