#pragma once
// The exchanges that tell whether a proxy still works, one per proxy type,
// each on a connection of its own. CONNECTION_CONNECTED means the proxy
// works; anything else, a failed send included, means it does not.
//
//   HTTP:   "GET / HTTP/1.0" with a Host line; any reply byte.
//   HTTPS:  "CONNECT address:443 HTTP/1.0" with a Host line; any reply byte.
//   SOCKS4: BIND 127.0.0.1:8068 for user "+"; an 8-byte reply whose byte 1
//           is one of 0x5A to 0x5D.
//   SOCKS5: greeting answered 05 00, then BIND 127.0.0.1:8068; a reply of at
//           least 2 bytes beginning 05.

#include <cstdint>
#include <string>

#include "relay/upstream/CUpstreamHandshake.h"

class CProxyProbe : public CUpstreamHandshake {
public:
    static constexpr std::uint16_t kBindPort = 8068;

    // address is the proxy's own address text, named in the request.
    static CProxyProbe Http(const std::string& address);
    static CProxyProbe Https(const std::string& address);
    static CProxyProbe Socks4();
    static CProxyProbe Socks5();

protected:
    HandshakeStep Begin() override;
    HandshakeStep Parse(std::string_view received) override;

private:
    enum class Kind { AnyReply, Socks4, Socks5 };

    CProxyProbe(Kind kind, std::string request);
    HandshakeStep ParseSocks4();
    HandshakeStep ParseSocks5();

    Kind kind_;
    std::string request_;
    bool greeted_ = false;
    std::string buffer_;
};
