#pragma once
// One step of a local SOCKS server's request parsing: bytes in, then "need
// more", "done" (the destination and the bytes past the request) or
// "failed" (the reply that ends the connection). No socket inside.

#include <cstdint>
#include <string>

#include "platform/Types.h"

enum class eSocksState { NeedMore, Done, Failed };

struct SocksStep {
    eSocksState state = eSocksState::NeedMore;
    // Bytes for the client now: a greeting's answer, or the failure reply.
    std::string reply;
    platform::DWORD address = 0;  // Done: the destination, network order
    std::string host;             // Done: a name to resolve instead (address 0)
    std::uint16_t port = 0;       // Done: host order
    // Done: bytes that followed the request in the same reads.
    std::string surplus;
};
