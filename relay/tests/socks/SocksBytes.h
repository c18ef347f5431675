#pragma once
// The bytes SOCKS clients send and the local listeners answer, for the
// tests that talk to the listeners on raw connections.

#include <cstdint>
#include <string>

namespace sockstest {

using namespace std::string_literals;

inline const std::string kS4Fail = "\x00\x5B"s + std::string(6, '\0');
inline const std::string kS5Fail = "\x05\x01\x00\x01"s + std::string(6, '\0');
inline const std::string kS5Type = "\x05\x08\x00\x01"s + std::string(6, '\0');
inline const std::string kS5Hello = "\x05\x00"s;
inline const std::string kS5Success = "\x05\x00\x00\x01\x7F\x00\x00\x01\x92\x1F"s;
// A greeting offering no authentication.
inline const std::string kS5Greeting = "\x05\x01\x00"s;

inline std::string PortBytes(std::uint16_t port) {
    return {static_cast<char>(port >> 8), static_cast<char>(port & 0xFF)};
}

// CONNECT to 127.0.0.1:port with the user id "kv".
inline std::string Socks4Request(std::uint16_t port) {
    return "\x04\x01"s + PortBytes(port) + "\x7F\x00\x00\x01" "kv\x00"s;
}

// CONNECT to a host name (SOCKS4a: address 0.0.0.1, the name after the user id).
inline std::string Socks4aRequest(const std::string& name, std::uint16_t port) {
    return "\x04\x01"s + PortBytes(port) + "\x00\x00\x00\x01" "kv\x00"s + name + '\0';
}

// CONNECT to 127.0.0.1:port (address type 1).
inline std::string Socks5Request(std::uint16_t port) {
    return "\x05\x01\x00\x01\x7F\x00\x00\x01"s + PortBytes(port);
}

// CONNECT to a host name (address type 3, the name after its length).
inline std::string Socks5NameRequest(const std::string& name, std::uint16_t port) {
    return "\x05\x01\x00\x03"s + static_cast<char>(name.size()) + name + PortBytes(port);
}

}  // namespace sockstest
