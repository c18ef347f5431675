#pragma once
// The request parsing of the local HTTP proxy as pure functions over one
// request head (no socket inside), so each rule is tested with tables of
// requests.

#include <cstddef>
#include <string>
#include <string_view>

// Longest destination host name a request may name.
inline constexpr std::size_t kMaxDestinationHost = 100;

struct HttpRequestInfo {
    std::string host;  // lower case; empty when the request names none
    int port = 80;     // 0 when the port text is not a port (1..65535)
    bool connect = false;
};

// Destination of a request: the target of a CONNECT, else the value of the
// Host field wherever it stands (any case, blanks around the value
// skipped), else (a request without one) the host of an absolute target;
// host and port split at the first ':', port 80 without one.
HttpRequestInfo ExtractRequestInfo(std::string_view request);

// Rewrites an absolute request-line target into its path in place: the
// scheme and host (the Host header's value, or without one the target's
// own host; for ftp:// without its port)
// become blanks and the method moves right to end one blank before the
// path. Only a target that begins with that prefix right after the method,
// followed by '/', '?' or a blank, is rewritten (a bare host gets the path
// "/"); anything else stays as it is. The length never changes; true when
// rewritten.
bool MakeRequestRelative(char* buffer, std::size_t length);

// How many blanks the data begins with.
std::size_t CountLeadingBlanks(std::string_view data);
