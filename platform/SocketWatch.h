#pragma once
// Inside the platform layer only: what the socket calls tell the notifier
// (SocketNotify.cpp), so that it re-enables notices as Winsock does.

#include "platform/SocketHandle.h"

namespace platform::detail {

// drained: the read found every byte there was (the end, nothing, or
// fewer than it asked for).
void WatchAfterRecv(SOCKET s, bool drained);
// accepted: the new connection (INVALID_SOCKET when none came), known
// connected from here on, and non-blocking when nonBlocking.
void WatchAfterAccept(SOCKET listener, SOCKET accepted, bool nonBlocking);
void WatchSendBlocked(SOCKET s);
// pending: the connect is under way; otherwise it connected at once.
void WatchConnectStarted(SOCKET s, bool pending);
void WatchListening(SOCKET s);
// A wait saw s writable and without error: a connect under way has ended
// well (for a socket no window watches).
void WatchConnectSeenDone(SOCKET s);
// The socket was made blocking or not through this layer.
void WatchNonBlocking(SOCKET s, bool on);
// True when this layer knows that s does not block.
bool WatchKnowsNonBlocking(SOCKET s);
// Before the descriptor is closed: forget the socket and its notices.
// True when it was a connected socket (neither listening nor connecting).
bool WatchClosing(SOCKET s);
// A new socket has the number s: nothing known of an earlier one stays.
void WatchNewDescriptor(SOCKET s);
// True when the notifier knows s as a connected socket.
bool WatchIsConnected(SOCKET s);

}  // namespace platform::detail
