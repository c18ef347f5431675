#pragma once
// Byte-order helpers shared by the SOCKS requests.

#include <cstdint>
#include <string>

#include "platform/Types.h"

// Appends the port as 2 bytes, most significant first.
void AppendPort(std::string& out, std::uint16_t port);
// Appends an address already in network byte order as its 4 stored bytes.
void AppendAddress(std::string& out, platform::DWORD networkOrderAddress);
