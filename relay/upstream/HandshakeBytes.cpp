#include "relay/upstream/HandshakeBytes.h"

#include <cstring>

void AppendPort(std::string& out, std::uint16_t port) {
    out.push_back(static_cast<char>(port >> 8));
    out.push_back(static_cast<char>(port & 0xFF));
}

void AppendAddress(std::string& out, platform::DWORD networkOrderAddress) {
    char bytes[4];
    std::memcpy(bytes, &networkOrderAddress, sizeof bytes);
    out.append(bytes, sizeof bytes);
}
