#pragma once
// Waiting on several objects at once: events, sockets and threads, with a
// time-out. A subset of the Windows call: at most MAXIMUM_WAIT_OBJECTS
// handles; a satisfied auto-reset event is reset by the wait that it wakes.
//
//   switch (WaitForMultipleObjects({stopEvent, WaitHandle::SocketReadable(s)}, false, 2000)) {
//   case WAIT_OBJECT_0: ...           // stop
//   case WAIT_OBJECT_0 + 1: ...       // data
//   case WAIT_TIMEOUT: ...
//   }

#include <initializer_list>
#include <memory>
#include <span>

#include "platform/SocketHandle.h"
#include "platform/Types.h"

namespace platform {

class Event;
class Thread;
struct EventState;

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// One thing to wait for. Holding a WaitHandle keeps an event or thread
// record alive; a socket handle must stay open for the wait.
class WaitHandle {
public:
    WaitHandle(const Event& event);    // signalled
    WaitHandle(const Thread& thread);  // ended
    // Bytes to read, the end of the stream, an error, or (listener) a
    // connection to accept.
    static WaitHandle SocketReadable(SOCKET s);
    // Room to send, or an error.
    static WaitHandle SocketWritable(SOCKET s);
    // A non-blocking connect has finished, well or not; getsockopt with
    // SO_ERROR then tells which.
    static WaitHandle SocketConnected(SOCKET s);

    enum class Kind { Event, SocketRead, SocketWrite };
    Kind kind() const { return kind_; }
    SOCKET socket() const { return socket_; }
    // The event of an Event handle, or a thread's "ended" event.
    const std::shared_ptr<EventState>& event() const { return event_; }

private:
    WaitHandle(Kind kind, SOCKET s) : kind_(kind), socket_(s) {}
    Kind kind_;
    SOCKET socket_ = INVALID_SOCKET;
    std::shared_ptr<EventState> event_;
};

// WAIT_OBJECT_0 + index of the first signalled handle (waitAll false) or
// WAIT_OBJECT_0 when all are signalled together (waitAll true);
// WAIT_TIMEOUT after ms milliseconds (INFINITE waits without limit);
// WAIT_FAILED for no handles, too many, an empty event or a closed socket.
DWORD WaitForMultipleObjects(std::span<const WaitHandle> handles, bool waitAll, DWORD ms);
DWORD WaitForMultipleObjects(std::initializer_list<WaitHandle> handles, bool waitAll, DWORD ms);
DWORD WaitForSingleObject(const WaitHandle& handle, DWORD ms);

}  // namespace platform
