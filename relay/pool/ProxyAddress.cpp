#include "relay/pool/ProxyAddress.h"

#include <string>
#include <vector>

#include "platform/Sockets.h"

platform::DWORD ConvertIP(const char* name) {
    if (!name) return 0;
    const std::uint32_t parsed = platform::inet_addr(name);
    if (parsed != platform::INADDR_NONE_VALUE) return parsed;
    std::vector<std::uint32_t> addresses;
    if (platform::ResolveHost(name, addresses) != 0 || addresses.empty()) return 0;
    return addresses.front();
}

std::string ConvertIP(platform::DWORD address) {
    in_addr in{};
    in.s_addr = address;
    return platform::inet_ntoa(in);
}

double ConvertIPToInteger(const char* address) {
    if (!address) return 0;
    double sum = 0;
    int parts = 0;
    const char* p = address;
    while (true) {
        int value = 0;
        int digits = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + (*p - '0');
            if (value > 255) return 0;
            ++digits;
            ++p;
        }
        if (digits == 0 || ++parts > 4) return 0;
        sum = sum * 256 + value;
        if (*p == '\0') break;
        if (*p != '.') return 0;
        ++p;
    }
    return parts == 4 ? sum : 0;
}
