#include "relay/upstream/CHttpConnectHandshake.h"

#include <algorithm>
#include <utility>

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeadEnd = "\r\n\r\n";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A host goes into the request line as it is, so it may hold nothing that
// would end the line or the target early.
bool IsSafeHost(std::string_view host) {
    if (host.empty() || host.size() > CHttpConnectHandshake::kMaxHostLength) {
        return false;
    }
    return std::all_of(host.begin(), host.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u > 0x20 && u < 0x7F;
    });
}
}  // namespace

CHttpConnectHandshake::CHttpConnectHandshake(std::string host, std::uint16_t port)
    : host_(std::move(host)), port_(port) {}

std::string CHttpConnectHandshake::Request(std::string_view host, std::uint16_t port) {
    std::string request = "CONNECT ";
    request.append(host);
    request += ':' + std::to_string(port) + " HTTP/1.1\r\n\r\n";
    return request;
}

std::optional<int> CHttpConnectHandshake::StatusCode(std::string_view line) {
    constexpr std::string_view kVersion = "HTTP/1.";
    if (line.substr(0, kVersion.size()) != kVersion) {
        return std::nullopt;
    }
    std::size_t i = kVersion.size();
    if (i >= line.size() || !IsDigit(line[i])) {
        return std::nullopt;
    }
    ++i;
    if (i >= line.size() || line[i] != ' ') {
        return std::nullopt;
    }
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    if (line.size() - i < 3 || !IsDigit(line[i]) || !IsDigit(line[i + 1]) || !IsDigit(line[i + 2])) {
        return std::nullopt;
    }
    if (i + 3 < line.size() && line[i + 3] != ' ') {
        return std::nullopt;
    }
    return (line[i] - '0') * 100 + (line[i + 1] - '0') * 10 + (line[i + 2] - '0');
}

eConnectionStatus CHttpConnectHandshake::Judge(std::string_view statusLine) {
    const std::optional<int> code = StatusCode(statusLine);
    if (code && *code / 100 == 2) {
        return CONNECTION_CONNECTED;
    }
    if (code && *code / 100 == 4) {
        return CONNECTION_REFUSED;
    }
    return CONNECTION_FAILED;
}

HandshakeStep CHttpConnectHandshake::Begin() {
    if (port_ == 0 || !IsSafeHost(host_)) {
        return HandshakeStep::Done(CONNECTION_REFUSED);
    }
    return HandshakeStep::NeedMore(Request(host_, port_));
}

HandshakeStep CHttpConnectHandshake::Parse(std::string_view received) {
    head_.append(received);
    if (!granted_) {
        const std::size_t lineEnd = head_.find(kLineEnd);
        if (lineEnd == std::string::npos || lineEnd + kLineEnd.size() > kMaxReplyHead) {
            return head_.size() >= kMaxReplyHead ? HandshakeStep::Done(CONNECTION_FAILED)
                                                 : HandshakeStep::NeedMore();
        }
        const eConnectionStatus status = Judge(std::string_view(head_).substr(0, lineEnd));
        if (status != CONNECTION_CONNECTED) {
            return HandshakeStep::Done(status);
        }
        granted_ = true;
        // The blank line may directly follow the status line's end.
        scanFrom_ = lineEnd;
    }
    const std::size_t headEnd = head_.find(kHeadEnd, scanFrom_);
    if (headEnd == std::string::npos || headEnd + kHeadEnd.size() > kMaxReplyHead) {
        if (head_.size() >= kMaxReplyHead) {
            return HandshakeStep::Done(CONNECTION_FAILED);
        }
        scanFrom_ = std::max(scanFrom_, head_.size() - std::min(head_.size(), kHeadEnd.size() - 1));
        return HandshakeStep::NeedMore();
    }
    return HandshakeStep::Done(CONNECTION_CONNECTED, head_.substr(headEnd + kHeadEnd.size()));
}
