#pragma once
// InternetGetConnectedState: whether the machine has a network connection
// beyond loopback. A test switch fixes the answer.

#include <optional>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD INTERNET_CONNECTION_MODEM = 0x01;
inline constexpr DWORD INTERNET_CONNECTION_LAN = 0x02;
inline constexpr DWORD INTERNET_CONNECTION_PROXY = 0x04;
inline constexpr DWORD INTERNET_CONNECTION_OFFLINE = 0x20;
inline constexpr DWORD INTERNET_CONNECTION_CONFIGURED = 0x40;

// True (flags INTERNET_CONNECTION_LAN) when an interface other than
// loopback is up and running with an IPv4 or IPv6 address; otherwise false
// with flags 0. flags may be null.
bool InternetGetConnectedState(DWORD* flags, DWORD reserved);

namespace internet_test {
// While set, InternetGetConnectedState answers these flags (true unless
// they are 0); an empty value restores the real answer.
void SetConnectedState(std::optional<DWORD> flags);
}  // namespace internet_test

}  // namespace platform
