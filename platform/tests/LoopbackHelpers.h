#pragma once
// Loopback sockets for the socket tests: everything on 127.0.0.1 with
// ports chosen by the system.

#include <arpa/inet.h>

#include "platform/Sockets.h"

namespace kvtest {

inline sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

inline std::uint16_t PortOf(platform::SOCKET s) {
    sockaddr_in a{};
    int length = sizeof a;
    platform::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

// A listening socket on 127.0.0.1 at a free port (blocking).
inline platform::SOCKET MakeListener(std::uint16_t& port, std::uint16_t wanted = 0) {
    const platform::SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(wanted);
    if (platform::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || platform::listen(s, 64) != 0) {
        platform::closesocket(s);
        return platform::INVALID_SOCKET;
    }
    port = PortOf(s);
    return s;
}

// A blocking client connected to 127.0.0.1:port.
inline platform::SOCKET ConnectTo(std::uint16_t port) {
    const platform::SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(port);
    if (platform::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        platform::closesocket(s);
        return platform::INVALID_SOCKET;
    }
    return s;
}

// A port on which nothing listens (bound once, then released).
inline std::uint16_t UnusedPort() {
    const platform::SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(0);
    platform::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    const std::uint16_t port = PortOf(s);
    platform::closesocket(s);
    return port;
}

}  // namespace kvtest
