#pragma once
// Berkeley sockets with Winsock's results: every call that fails returns
// SOCKET_ERROR (or INVALID_SOCKET) and leaves a WSA error number (10035
// WSAEWOULDBLOCK, ...) for WSAGetLastError, per thread.
//
// Differences from the bare system calls, all Winsock behaviour:
// - a non-blocking connect that is under way fails with WSAEWOULDBLOCK;
// - send never raises SIGPIPE (a closed peer gives WSAECONNRESET);
// - bind sets SO_REUSEADDR on stream sockets, so a listener can bind again at
//   once after a restart (on Linux it never lets two listeners share a port);
// - listen queues as many connections as the system allows (Winsock grows a
//   small backlog under load; a fixed one of 5 drops the connections of a
//   browser's burst, each then retried only after a second);
// - getsockopt(SO_ERROR) gives a WSA number;
// - SO_RCVTIMEO and SO_SNDTIMEO take a DWORD of milliseconds;
// - recv, send and accept re-enable the notices of WSAAsyncSelect
//   (SocketNotify.h);
// - descriptors 0, 1 and 2 are kept open (on /dev/null when they were
//   closed at load), so a socket is never 0.
// Sockets are IPv4 (AF_INET) as the engine uses them.

#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SocketHandle.h"
#include "platform/Types.h"

namespace platform {

// WSA error numbers.
inline constexpr int WSABASEERR = 10000;
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEALREADY = 10037;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEDESTADDRREQ = 10039;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAEPROTOTYPE = 10041;
inline constexpr int WSAENOPROTOOPT = 10042;
inline constexpr int WSAEPROTONOSUPPORT = 10043;
inline constexpr int WSAESOCKTNOSUPPORT = 10044;
inline constexpr int WSAEOPNOTSUPP = 10045;
inline constexpr int WSAEPFNOSUPPORT = 10046;
inline constexpr int WSAEAFNOSUPPORT = 10047;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAENETRESET = 10052;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOBUFS = 10055;
inline constexpr int WSAEISCONN = 10056;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAEHOSTDOWN = 10064;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;
inline constexpr int WSA_IO_PENDING = 997;

inline constexpr int SD_RECEIVE = SHUT_RD;
inline constexpr int SD_SEND = SHUT_WR;
inline constexpr int SD_BOTH = SHUT_RDWR;

inline constexpr std::uint32_t INADDR_NONE_VALUE = 0xFFFFFFFFu;

using HOSTENT = ::hostent;

// The WSA number for a system errno value (0 for 0).
int WSAErrorFromErrno(int err);

int WSAGetLastError();
void WSASetLastError(int error);

struct WSADATA {
    WORD wVersion = 0;      // granted
    WORD wHighVersion = 0;  // the highest this layer offers: 2.2
};
inline constexpr WORD MAKEWORD(BYTE low, BYTE high) { return static_cast<WORD>(low | (high << 8)); }
// Grants the requested version up to 2.2; WSAVERNOTSUPPORTED below 1.1.
int WSAStartup(WORD requested, WSADATA* data);
int WSACleanup();

SOCKET socket(int af, int type, int protocol);
int closesocket(SOCKET s);
int bind(SOCKET s, const sockaddr* address, int length);
int listen(SOCKET s, int backlog);
// The backlog listen uses: the requested one, at least the system's maximum
// (/proc/sys/net/core/somaxconn, else SOMAXCONN).
int ListenBacklog(int requested);
SOCKET accept(SOCKET s, sockaddr* address, int* length);
int connect(SOCKET s, const sockaddr* address, int length);
int recv(SOCKET s, char* buffer, int length, int flags);
int send(SOCKET s, const char* buffer, int length, int flags);
int shutdown(SOCKET s, int how);
// FIONREAD (bytes waiting) and FIONBIO (non-blocking on/off).
int ioctlsocket(SOCKET s, unsigned long command, DWORD* argument);
int getsockopt(SOCKET s, int level, int name, char* value, int* length);
int setsockopt(SOCKET s, int level, int name, const char* value, int length);
int getpeername(SOCKET s, sockaddr* address, int* length);
int getsockname(SOCKET s, sockaddr* address, int* length);

// Dotted text (also the short forms "a.b.c", "a.b", "a") to a network-order
// address; INADDR_NONE_VALUE when it is not an address.
std::uint32_t inet_addr(const char* text);
// Dotted text of an address; the buffer belongs to the calling thread and
// stays until its next call.
const char* inet_ntoa(in_addr address);

// Resolves an IPv4 host name (blocking). The entry belongs to the calling
// thread until its next call; null with the WSA error set when the name is
// unknown.
const HOSTENT* gethostbyname(const char* name);

// Name resolution used by gethostbyname and WSAAsyncGetHostByName: fills
// the IPv4 addresses (network order) and returns 0, or returns a WSA error
// (WSAHOST_NOT_FOUND...). Replaceable so that tests can answer, fail or
// hold a lookup; an empty resolver restores the system one. Returns the
// previous resolver.
using HostResolver = std::function<int(const std::string& name, std::vector<std::uint32_t>& addresses)>;
HostResolver SetHostResolver(HostResolver resolver);
int ResolveHost(const std::string& name, std::vector<std::uint32_t>& addresses);

// Test hooks.
namespace sockets_test {
// From now on the system resolver answers only "localhost" and dotted
// addresses (no lookup ever leaves the process), and connects reach only
// 127.0.0.0/8 (others fail with WSAENETUNREACH). Tests turn this on so no
// test can send a packet off this machine, whatever its settings name.
void RestrictToLoopback();
bool IsRestrictedToLoopback();
// True for "localhost" and dotted addresses in 127.0.0.0/8.
bool IsLoopbackHost(std::string_view host);
}  // namespace sockets_test

}  // namespace platform
