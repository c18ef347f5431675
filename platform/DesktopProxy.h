#pragma once
// The desktop's proxy setting: GSettings "org.gnome.system.proxy" with its
// "http", "https" and "socks" children, which the desktop's browsers and
// programs follow ("use system proxy settings"). Only the keys the relay
// changes are read and written. Where the schema is not installed nothing
// here touches anything, and every call says so.
//
// Which store GSettings uses follows its own rules (GSETTINGS_BACKEND);
// tests choose a private one ("memory", or "keyfile" with XDG_CONFIG_HOME
// inside their root).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One key the relay may change ("mode", "http.host", "http.port", ...)
// with the user's own value of it as GVariant text ("'manual'", "3128");
// nothing when the user has set no value (the key follows its default).
struct DesktopProxyValue {
    std::string key;
    std::optional<std::string> text;
    bool operator==(const DesktopProxyValue&) const = default;
};
using DesktopProxyValues = std::vector<DesktopProxyValue>;

// The protocols a local listener serves.
enum class DesktopProxyProtocols { Http, Socks, All };

bool DesktopProxyAvailable();

// Every key the relay may change, in a fixed order; nothing when the schema
// is not installed.
std::optional<DesktopProxyValues> ReadDesktopProxy();

// Gives each listed key its value, or its default where the text is
// nothing; keys not listed stay as they are. Every value is checked first:
// a key or text that is refused (unknown, mistyped, out of range, locked)
// changes nothing. False then, when the schema is not installed, or when the
// change cannot be stored.
bool WriteDesktopProxy(const DesktopProxyValues& values);

// Manual mode, with host and port for the protocols given (HTTP: "http" and
// "https"; SOCKS: "socks"; all three for All). Other keys stay.
bool PointDesktopProxy(DesktopProxyProtocols protocols, std::string_view host, unsigned port);

}  // namespace platform
