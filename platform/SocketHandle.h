#pragma once
// The socket handle type, apart from the socket functions so that headers
// which only name sockets stay light.

namespace platform {

using SOCKET = int;  // a file descriptor; never 0 (descriptors 0-2 are kept open)
inline constexpr SOCKET INVALID_SOCKET = -1;
inline constexpr int SOCKET_ERROR = -1;

}  // namespace platform
