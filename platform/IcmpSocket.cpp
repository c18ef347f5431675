#include "platform/IcmpSocket.h"

#include <arpa/inet.h>

#include <cerrno>

#include "platform/Sockets.h"

namespace platform {

namespace {
int FailWith(int err) {
    WSASetLastError(WSAErrorFromErrno(err));
    return SOCKET_ERROR;
}
}  // namespace

SOCKET IcmpRawSocket() { return platform::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP); }

SOCKET IcmpEchoSocket() { return platform::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP); }

int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength) {
    if (sockets_test::IsRestrictedToLoopback() && to && to->sa_family == AF_INET &&
        (ntohl(reinterpret_cast<const sockaddr_in*>(to)->sin_addr.s_addr) >> 24) != 127) {
        WSASetLastError(WSAENETUNREACH);
        return SOCKET_ERROR;
    }
    const ssize_t n = ::sendto(s, buffer, static_cast<std::size_t>(length < 0 ? 0 : length), flags | MSG_NOSIGNAL,
                               to, static_cast<socklen_t>(toLength));
    if (n < 0) return FailWith(errno);
    return static_cast<int>(n);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength) {
    socklen_t size = fromLength ? static_cast<socklen_t>(*fromLength) : 0;
    const ssize_t n = ::recvfrom(s, buffer, static_cast<std::size_t>(length < 0 ? 0 : length), flags, from,
                                 fromLength ? &size : nullptr);
    if (n < 0) return FailWith(errno);
    if (fromLength) *fromLength = static_cast<int>(size);
    return static_cast<int>(n);
}

}  // namespace platform
