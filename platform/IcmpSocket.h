#pragma once
// ICMP sockets, two kinds:
//
// A raw ICMP socket reads every ICMP message that reaches this host, each as
// an IPv4 datagram (the IP header first); the program builds its requests
// whole. Only a process with CAP_NET_RAW may open one: otherwise it fails
// with WSAEACCES.
//
// ICMP echo without privileges: a datagram socket of protocol ICMP, on
// which the system sends echo requests and hands back the matching echo
// replies only (ICMP header and data, without the IP header). The system
// sets the request's identifier to the socket's bound "port". The system
// may not permit such sockets (net.ipv4.ping_group_range): the socket then
// fails with WSAEACCES.

#include <netinet/in.h>
#include <sys/socket.h>

#include "platform/SocketHandle.h"

namespace platform {

SOCKET IcmpRawSocket();
SOCKET IcmpEchoSocket();
int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength);
int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength);

}  // namespace platform
