#pragma once
// ICMP echo without privileges: a datagram socket of protocol ICMP, on
// which the system sends echo requests and hands back the matching echo
// replies (ICMP header and data, without the IP header). The system sets
// the request's identifier to the socket's bound "port".
//
// The system may not permit such sockets (net.ipv4.ping_group_range): the
// socket then fails with WSAEACCES.

#include <netinet/in.h>
#include <sys/socket.h>

#include "platform/SocketHandle.h"

namespace platform {

SOCKET IcmpEchoSocket();
int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength);
int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength);

}  // namespace platform
