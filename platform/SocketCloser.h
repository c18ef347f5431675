#pragma once
// Inside the platform layer only: ends connected sockets on a thread of
// its own. Closing one, or shutting its sending down, sends its end of
// stream, and on loopback the kernel delivers it to the peer inside that
// call; a thread that owns many connections would pay that for each one's
// end. A caller that is not working through a backlog of messages (with
// a closer that has nothing in hand) ends the stream at once instead: the
// wake-up of the closer would only delay the peer.

namespace platform::detail {

// Closes fd soon, after every descriptor handed over before it. The number
// stays taken until then, so it cannot name another socket meanwhile.
void CloseInBackground(int fd);
// Shuts fd's sending down soon, in the same order as the closes: a socket
// shut down here must be closed by CloseInBackground too.
void ShutDownSendingInBackground(int fd);
// A thread working through a backlog of messages hands endings over
// without waking the closer; it wakes it for the whole batch here, which
// its message loop does at each look at its sockets, and a wait, or the
// end of its queue, before anything else.
void WakeCloserIfOwed();

}  // namespace platform::detail
