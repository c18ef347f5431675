#pragma once
// HTTP CONNECT through a proxy: "CONNECT host:port HTTP/1.1" and a blank
// line. The reply's status line is judged as soon as it is complete: only
// an "HTTP/1.x 2xx" line opens the tunnel, any other 4xx line is a refusal
// of the destination, anything else means the proxy failed. A granted reply
// is read on to its blank line; the whole head may take at most
// kMaxReplyHead bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "relay/upstream/CUpstreamHandshake.h"

class CHttpConnectHandshake : public CUpstreamHandshake {
public:
    static constexpr std::size_t kMaxReplyHead = 10240;
    static constexpr std::size_t kMaxHostLength = 255;

    CHttpConnectHandshake(std::string host, std::uint16_t port);

    static std::string Request(std::string_view host, std::uint16_t port);

    // The status code of an "HTTP/1.x nnn" status line (without its line
    // end), or nothing for any other line.
    static std::optional<int> StatusCode(std::string_view statusLine);
    // The result a status line gives.
    static eConnectionStatus Judge(std::string_view statusLine);

protected:
    HandshakeStep Begin() override;
    HandshakeStep Parse(std::string_view received) override;

private:
    std::string host_;
    std::uint16_t port_;
    bool granted_ = false;
    std::size_t scanFrom_ = 0;
    std::string head_;
};
