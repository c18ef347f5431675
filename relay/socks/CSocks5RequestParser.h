#pragma once
// The greeting and request of a SOCKS5 client, without authentication.
// The greeting (05, a method count, the methods) is taken whole and answered
// 05 00 (the methods offered are not examined); then the request 05 01 00
// and an address is taken to the end its address type gives: an IPv4
// address (type 01) or a host name (03: its length, then the name). An IPv6
// request (04) is read whole and refused with 05 08, an unknown type at
// once. Both may come in one block; each is accumulated across reads and
// bounded.

#include <string>
#include <string_view>

#include "relay/socks/SocksStep.h"

class CSocks5RequestParser {
public:
    // 05 00 00 01 7F 00 00 01 92 1F: 127.0.0.1 and the port bytes 92 1F,
    // whatever the upstream's own address.
    static std::string SuccessReply();
    // 05 01 00 01 and six zero bytes.
    static std::string FailureReply();
    // 05 08 00 01 and six zero bytes.
    static std::string AddressTypeReply();
    // 05 FF: no method is acceptable (a greeting of another version).
    static std::string GreetingFailureReply();

    // After Done or Failed, further bytes give the same state again.
    SocksStep Feed(std::string_view bytes);
    // The reply that fails the connection at the current stage (the client
    // ended it before its greeting or request was whole).
    std::string FailureReplyNow() const;
    bool Greeted() const { return greeted_; }

private:
    void TakeGreeting(SocksStep& step);
    void TakeRequest(SocksStep& step);

    std::string buffer_;
    bool greeted_ = false;
    eSocksState state_ = eSocksState::NeedMore;
};
