#pragma once
// Inside the platform layer only: what the socket calls tell the notifier
// (SocketNotify.cpp), so that it re-enables notices as Winsock does.

#include "platform/SocketHandle.h"

namespace platform::detail {

void WatchAfterRecv(SOCKET s);
void WatchAfterAccept(SOCKET listener);
void WatchSendBlocked(SOCKET s);
// pending: the connect is under way; otherwise it connected at once.
void WatchConnectStarted(SOCKET s, bool pending);
void WatchListening(SOCKET s);
// Before the descriptor is closed: forget the socket and its notices.
// True when it was a connected socket (neither listening nor connecting).
bool WatchClosing(SOCKET s);
// True when the notifier knows s as a connected socket.
bool WatchIsConnected(SOCKET s);

}  // namespace platform::detail
