#pragma once
// Socket notices as window messages (WSAAsyncSelect) and host lookups
// answered by a message (WSAAsyncGetHostByName).
//
// A registered socket is watched by the epoll of the queue of the thread that
// owns the window, and its notices are posted to that window while that
// thread waits in GetMessage or PeekMessage: wParam the socket, lParam
// WSAMAKESELECTREPLY(event, error). Winsock's re-enabling rules hold:
// - FD_READ once, then not again until the program calls recv;
// - FD_ACCEPT once, then not again until the program calls accept;
// - FD_CONNECT once when a non-blocking connect ends, with its error;
// - FD_WRITE once when the socket is connected (or registered connected),
//   then only after a send failed with WSAEWOULDBLOCK and room came back;
// - FD_CLOSE once, after the peer closed and every byte was read, or at
//   once with WSAECONNRESET when the connection was reset.
// Nothing is watched that could fire again before the program acts, so an
// unread socket costs no time. Registering again (or with events 0) cancels
// the earlier registration and drops its notices that were not yet taken;
// closing the socket does too.

#include <cstdint>

#include "platform/Messages.h"
#include "platform/SocketHandle.h"
#include "platform/Types.h"

namespace platform {

inline constexpr long FD_READ = 0x01;
inline constexpr long FD_WRITE = 0x02;
inline constexpr long FD_OOB = 0x04;
inline constexpr long FD_ACCEPT = 0x08;
inline constexpr long FD_CONNECT = 0x10;
inline constexpr long FD_CLOSE = 0x20;

inline constexpr WORD WSAGETSELECTEVENT(LPARAM lParam) { return LOWORD(lParam); }
inline constexpr WORD WSAGETSELECTERROR(LPARAM lParam) { return HIWORD(lParam); }
inline constexpr LPARAM WSAMAKESELECTREPLY(WORD event, WORD error) { return MAKELPARAM(event, error); }
inline constexpr WORD WSAGETASYNCBUFLEN(LPARAM lParam) { return LOWORD(lParam); }
inline constexpr WORD WSAGETASYNCERROR(LPARAM lParam) { return HIWORD(lParam); }
inline constexpr LPARAM WSAMAKEASYNCREPLY(WORD length, WORD error) { return MAKELPARAM(length, error); }

// Also makes the socket non-blocking (and it stays so). SOCKET_ERROR with
// WSAEINVAL for a dead window, WSAENOTSOCK for a closed socket.
int WSAAsyncSelect(SOCKET s, HWND hwnd, UINT message, long events);

// Whether a read would find bytes now, for a program handling FD_READ:
// > 0 yes (not always their count), 0 no, SOCKET_ERROR (with the WSA error
// set) when the socket cannot tell. Until the program reads after its
// FD_READ, the bytes that notice saw are still there, and no system call
// is made to learn it.
int InputWaiting(SOCKET s);

// A lookup request handle; never 0.
using ASYNCHANDLE = std::uintptr_t;
inline constexpr int MAXGETHOSTSTRUCT = 1024;

// Resolves name on a worker thread; the answer is a HOSTENT written into
// buffer (pointers into the buffer itself) and then the message posted to
// hwnd with wParam the handle and lParam WSAMAKEASYNCREPLY(length needed,
// error): 0, WSAHOST_NOT_FOUND / WSANO_DATA..., or WSAENOBUFS when the buffer
// is too small. The buffer must stay until the reply or a successful cancel.
// Returns 0 with the WSA error set when no lookup can be started.
ASYNCHANDLE WSAAsyncGetHostByName(HWND hwnd, UINT message, const char* name, char* buffer, int length);
// After a 0 result nothing is written to the buffer and no reply is posted.
// SOCKET_ERROR with WSAEINVAL when the request is unknown or already
// answered.
int WSACancelAsyncRequest(ASYNCHANDLE handle);

}  // namespace platform
