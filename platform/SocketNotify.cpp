#include "platform/SocketNotify.h"

#include <fcntl.h>
#include <sys/epoll.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_map>

#include "platform/MessageQueue.h"
#include "platform/SocketWatch.h"
#include "platform/Sockets.h"

namespace platform {

namespace {

using detail::MessageQueue;

// One WSAAsyncSelect registration and its re-enabling state.
struct Watch {
    std::uint64_t key = 0;  // epoll data; never reused
    HWND hwnd;
    UINT message = 0;
    long events = 0;
    std::weak_ptr<MessageQueue> queue;
    std::uint32_t interest = 0;  // what the epoll watches now
    bool inEpoll = false;

    bool readArmed = true;
    // FD_READ went out for bytes that no recv has taken since.
    bool readNoticeUnanswered = false;
    bool acceptArmed = true;
    // Input stays in the epoll after its notice went, so that a program
    // that reads (or accepts) at once costs no epoll change; only when the
    // epoll reports input again after the program took the notice, and
    // before it answered, is input taken out, until then. While the notice
    // still waits in the queue, a report again is no news and costs nothing.
    bool inputQuiet = false;
    bool inputNoticeQueued = false;  // FD_READ or FD_ACCEPT not yet taken
    bool closeArmed = true;
    bool writeWaiting = false;  // a send would block: FD_WRITE when room comes
    bool peerClosed = false;    // the peer sent its end of stream
    bool dead = false;          // hung up, reset, or the connect failed
    int resetError = 0;
};

struct SocketRecord {
    bool listening = false;
    bool connecting = false;
    bool connected = false;
    bool nonBlocking = false;  // made so through this layer
    std::optional<Watch> watch;
};

bool IsConnectedStream(const SocketRecord& r) { return r.connected && !r.listening && !r.connecting; }

// All sockets the notifier knows; one lock, taken before any queue's.
struct Notifier {
    std::mutex mutex;
    std::unordered_map<SOCKET, SocketRecord> sockets;
    std::unordered_map<std::uint64_t, SOCKET> keys;
    std::uint64_t nextKey = 0;
};

Notifier& notifier() {
    static Notifier* n = new Notifier;
    return *n;
}

// Set while the calling thread turns its ready sockets into notices: it
// takes them from its queue right afterwards, so they need no wake-up.
thread_local bool tlsCollecting = false;

// True when the notice was posted.
bool Notify(SOCKET s, const Watch& w, long event, int error = 0) {
    if (!(w.events & event)) return false;
    return detail::PostNotice(w.hwnd, w.message, s,
                              WSAMAKESELECTREPLY(static_cast<WORD>(event), static_cast<WORD>(error)), !tlsCollecting);
}

int SocketError(SOCKET s) {
    int err = 0;
    socklen_t length = sizeof err;
    ::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &length);
    return WSAErrorFromErrno(err);
}

// Bytes waiting to be read, or -1 when the socket cannot tell.
int BytesWaiting(SOCKET s) {
    int waiting = 0;
    return ::ioctl(s, FIONREAD, &waiting) == 0 ? waiting : -1;
}

// What is known of the bytes waiting without asking the socket.
enum class Waiting { Ask, Some, None };

// FD_READ while bytes wait; FD_CLOSE once they are all read after the end
// of the stream, or at once after a reset.
void CheckReadable(SOCKET s, Watch& w, Waiting known = Waiting::Ask) {
    const int waiting = known == Waiting::Some ? 1 : known == Waiting::None ? 0 : BytesWaiting(s);
    if (waiting > 0 && w.readArmed && (w.events & FD_READ)) {
        w.readArmed = false;
        w.readNoticeUnanswered = true;
        w.inputNoticeQueued = Notify(s, w, FD_READ);
    }
    if (!w.closeArmed || !(w.events & FD_CLOSE)) return;
    if (w.resetError != 0) {
        w.closeArmed = false;
        Notify(s, w, FD_CLOSE, w.resetError);
    } else if ((w.peerClosed || w.dead) && waiting <= 0) {
        w.closeArmed = false;
        Notify(s, w, FD_CLOSE);
    }
}

std::uint32_t Interest(const SocketRecord& r, const Watch& w) {
    if (w.dead) return 0;
    const bool input = !w.inputQuiet;
    if (r.listening) return (w.acceptArmed || input) && (w.events & FD_ACCEPT) ? std::uint32_t{EPOLLIN} : 0;
    if (r.connecting) return EPOLLOUT;
    // An unconnected socket polls as hung up; there is nothing to watch.
    if (!r.connected) return 0;
    std::uint32_t want = 0;
    if (!w.peerClosed) {
        if ((w.readArmed || input) && (w.events & FD_READ)) want |= EPOLLIN;
        if (w.closeArmed && (w.events & FD_CLOSE)) want |= EPOLLRDHUP;
    }
    if (w.writeWaiting && (w.events & FD_WRITE)) want |= EPOLLOUT;
    return want;
}

// Brings the epoll in line with what could be notified next; a socket with
// nothing to report is out of the epoll, so that a hung-up one cannot wake
// its thread again and again.
void UpdateInterest(SOCKET s, const SocketRecord& r, Watch& w) {
    const std::uint32_t want = Interest(r, w);
    if (w.inEpoll && want == w.interest) return;
    const auto queue = w.queue.lock();
    if (!queue) {
        w.inEpoll = false;
        return;
    }
    epoll_event ev{};
    ev.events = want;
    ev.data.u64 = w.key;
    if (want == 0) {
        if (w.inEpoll) {
            ::epoll_ctl(queue->epollFd(), EPOLL_CTL_DEL, s, &ev);
            --queue->watchedSockets;
            w.inEpoll = false;
        }
    } else if (w.inEpoll) {
        ::epoll_ctl(queue->epollFd(), EPOLL_CTL_MOD, s, &ev);
    } else if (::epoll_ctl(queue->epollFd(), EPOLL_CTL_ADD, s, &ev) == 0) {
        ++queue->watchedSockets;
        w.inEpoll = true;
    }
    w.interest = want;
}

void Unwatch(Notifier& n, SOCKET s, SocketRecord& r) {
    if (!r.watch) return;
    Watch& w = *r.watch;
    if (const auto queue = w.queue.lock()) {
        if (w.inEpoll) {
            epoll_event ev{};
            ::epoll_ctl(queue->epollFd(), EPOLL_CTL_DEL, s, &ev);
            --queue->watchedSockets;
        }
        queue->DropNotices(s);
    }
    n.keys.erase(w.key);
    r.watch.reset();
}

void ConnectFinished(SOCKET s, SocketRecord& r, Watch& w, int error) {
    r.connecting = false;
    Notify(s, w, FD_CONNECT, error);
    if (error != 0) {
        w.dead = true;
        return;
    }
    r.connected = true;
    Notify(s, w, FD_WRITE);
}

void HandleReady(SOCKET s, SocketRecord& r, Watch& w, std::uint32_t ready) {
    if (r.listening) {
        if (!(ready & EPOLLIN)) return;
        if (w.acceptArmed && (w.events & FD_ACCEPT)) {
            w.acceptArmed = false;
            w.inputNoticeQueued = Notify(s, w, FD_ACCEPT);
        } else if (!w.inputNoticeQueued) {
            w.inputQuiet = true;
        }
        return;
    }
    if (r.connecting) {
        if (ready & (EPOLLOUT | EPOLLERR | EPOLLHUP)) ConnectFinished(s, r, w, SocketError(s));
        return;
    }
    if (ready & EPOLLERR) {
        const int error = SocketError(s);
        w.dead = true;
        if (error == WSAECONNRESET || error == WSAECONNABORTED) w.resetError = error;
    }
    if (ready & EPOLLHUP) w.dead = true;
    if (ready & EPOLLRDHUP) w.peerClosed = true;
    if ((ready & EPOLLIN) && !w.readArmed && !w.inputNoticeQueued) w.inputQuiet = true;
    // Input reported on a stream that goes on means bytes wait.
    const bool bytesKnown =
        (ready & EPOLLIN) && !(ready & (EPOLLERR | EPOLLHUP | EPOLLRDHUP)) && !w.peerClosed && !w.dead;
    CheckReadable(s, w, bytesKnown ? Waiting::Some : Waiting::Ask);
    if ((ready & EPOLLOUT) && w.writeWaiting && !w.dead) {
        w.writeWaiting = false;
        Notify(s, w, FD_WRITE);
    }
}

// Runs f on the watched record of s, then updates the epoll.
template <typename F>
void WithWatch(SOCKET s, F&& f) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    const auto it = n.sockets.find(s);
    if (it == n.sockets.end()) return;
    SocketRecord& r = it->second;
    f(r);
    if (r.watch) UpdateInterest(s, r, *r.watch);
}

enum class PeerState { NotSocket, Unconnected, Connected, Listening };

// What a socket the notifier has not seen listen is.
PeerState Peer(SOCKET s) {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(s, reinterpret_cast<sockaddr*>(&peer), &length) == 0) return PeerState::Connected;
    if (errno == ENOTSOCK || errno == EBADF) return PeerState::NotSocket;
    // A socket that listens without this layer knowing it.
    int on = 0;
    length = sizeof on;
    if (::getsockopt(s, SOL_SOCKET, SO_ACCEPTCONN, &on, &length) == 0 && on != 0) return PeerState::Listening;
    return PeerState::Unconnected;
}

}  // namespace

namespace detail {

void CollectSocketNotices(MessageQueue& queue, int waitMs) {
    if (waitMs == 0 && queue.watchedSockets.load() == 0) return;
    epoll_event ready[64];
    const int count = ::epoll_wait(queue.epollFd(), ready, 64, waitMs);
    if (count <= 0) return;
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    tlsCollecting = true;
    for (int i = 0; i < count; ++i) {
        const auto key = n.keys.find(ready[i].data.u64);
        if (key == n.keys.end()) continue;
        const SOCKET s = key->second;
        SocketRecord& r = n.sockets[s];
        if (!r.watch || r.watch->key != ready[i].data.u64) continue;
        HandleReady(s, r, *r.watch, ready[i].events);
        UpdateInterest(s, r, *r.watch);
    }
    tlsCollecting = false;
}

void SocketNoticeTaken(SOCKET s, LPARAM lParam) {
    const long event = WSAGETSELECTEVENT(lParam);
    if (event != FD_READ && event != FD_ACCEPT) return;
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    const auto it = n.sockets.find(s);
    if (it != n.sockets.end() && it->second.watch) it->second.watch->inputNoticeQueued = false;
}

void WatchAfterRecv(SOCKET s, bool drained) {
    WithWatch(s, [s, drained](SocketRecord& r) {
        if (!r.watch) return;
        r.watch->readArmed = true;
        r.watch->readNoticeUnanswered = false;
        r.watch->inputQuiet = false;
        // After the end of the stream the epoll no longer watches reading,
        // so what remains is judged here; no byte can come after the end.
        if (r.watch->peerClosed || r.watch->dead) CheckReadable(s, *r.watch, drained ? Waiting::None : Waiting::Ask);
    });
}

void WatchAfterAccept(SOCKET listener, SOCKET accepted, bool nonBlocking) {
    WithWatch(listener, [](SocketRecord& r) {
        if (!r.watch) return;
        r.watch->acceptArmed = true;
        r.watch->inputQuiet = false;
    });
    if (accepted < 0) return;
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    SocketRecord& r = n.sockets[accepted];
    Unwatch(n, accepted, r);
    r = SocketRecord{};
    r.connected = true;
    r.nonBlocking = nonBlocking;
}

void WatchSendBlocked(SOCKET s) {
    WithWatch(s, [](SocketRecord& r) {
        if (r.watch) r.watch->writeWaiting = true;
    });
}

void WatchConnectStarted(SOCKET s, bool pending) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    SocketRecord& r = n.sockets[s];
    r.connecting = pending;
    if (!pending) r.connected = true;
    if (!r.watch) return;
    if (!pending) ConnectFinished(s, r, *r.watch, 0);
    UpdateInterest(s, r, *r.watch);
}

void WatchConnectSeenDone(SOCKET s) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    const auto it = n.sockets.find(s);
    if (it == n.sockets.end() || it->second.watch || !it->second.connecting) return;
    it->second.connecting = false;
    it->second.connected = true;
}

void WatchListening(SOCKET s) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    SocketRecord& r = n.sockets[s];
    r.listening = true;
    if (r.watch) UpdateInterest(s, r, *r.watch);
}

void WatchNonBlocking(SOCKET s, bool on) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    n.sockets[s].nonBlocking = on;
}

bool WatchKnowsNonBlocking(SOCKET s) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    const auto it = n.sockets.find(s);
    return it != n.sockets.end() && it->second.nonBlocking;
}

bool WatchIsConnected(SOCKET s) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    const auto it = n.sockets.find(s);
    return it != n.sockets.end() && IsConnectedStream(it->second);
}

void WatchNewDescriptor(SOCKET s) { WatchClosing(s); }

bool WatchClosing(SOCKET s) {
    Notifier& n = notifier();
    std::lock_guard lock(n.mutex);
    const auto it = n.sockets.find(s);
    if (it == n.sockets.end()) return false;
    const bool connected = IsConnectedStream(it->second);
    Unwatch(n, s, it->second);
    n.sockets.erase(it);
    return connected;
}

}  // namespace detail

int WSAAsyncSelect(SOCKET s, HWND hwnd, UINT message, long events) {
    if (s < 0) {
        WSASetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    std::shared_ptr<MessageQueue> queue;
    if (events != 0) {
        queue = detail::WindowQueue(hwnd);
        if (!queue) {
            WSASetLastError(WSAEINVAL);
            return SOCKET_ERROR;
        }
    }
    Notifier& n = notifier();
    // A socket that listened or was accepted through this layer, and was
    // made non-blocking by it, is known; any other one is asked whether it
    // is a socket, whether it is connected, and how it blocks.
    bool known = false;
    {
        std::lock_guard lock(n.mutex);
        const auto it = n.sockets.find(s);
        known = it != n.sockets.end() && it->second.nonBlocking &&
                (it->second.listening || IsConnectedStream(it->second));
    }
    bool listening = false;
    bool connected = false;
    if (!known) {
        const int flags = ::fcntl(s, F_GETFL);
        const PeerState peer = flags < 0 ? PeerState::NotSocket : Peer(s);
        if (peer == PeerState::NotSocket) {
            WSASetLastError(WSAENOTSOCK);
            return SOCKET_ERROR;
        }
        listening = peer == PeerState::Listening;
        connected = peer == PeerState::Connected;
        if (!(flags & O_NONBLOCK)) ::fcntl(s, F_SETFL, flags | O_NONBLOCK);
    }

    std::lock_guard lock(n.mutex);
    SocketRecord& r = n.sockets[s];
    Unwatch(n, s, r);
    r.nonBlocking = true;
    if (events == 0) return 0;
    r.listening = r.listening || listening;
    if (connected) {
        r.connecting = false;
        r.connected = true;
    }
    Watch& w = r.watch.emplace();
    w.key = ++n.nextKey;
    w.hwnd = hwnd;
    w.message = message;
    w.events = events;
    w.queue = queue;
    n.keys[w.key] = s;
    if (known ? IsConnectedStream(r) : connected) Notify(s, w, FD_WRITE);
    UpdateInterest(s, r, w);
    return 0;
}

int InputWaiting(SOCKET s) {
    {
        Notifier& n = notifier();
        std::lock_guard lock(n.mutex);
        const auto it = n.sockets.find(s);
        if (it != n.sockets.end() && it->second.watch) {
            const Watch& w = *it->second.watch;
            if (w.readNoticeUnanswered && !w.dead) return 1;
        }
    }
    DWORD waiting = 0;
    if (ioctlsocket(s, FIONREAD, &waiting) != 0) return SOCKET_ERROR;
    return waiting > 0 ? 1 : 0;
}

namespace {

struct Lookup {
    HWND hwnd;
    UINT message = 0;
    std::string name;
    char* buffer = nullptr;
    int length = 0;
};

struct Lookups {
    std::mutex mutex;
    std::unordered_map<ASYNCHANDLE, Lookup> pending;
    ASYNCHANDLE next = 0;
};

Lookups& lookups() {
    static Lookups* l = new Lookups;
    return *l;
}

std::size_t AlignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

// Lays a HOSTENT with its lists, addresses and name into buffer; returns
// the bytes needed (nothing is written when they do not fit).
std::size_t WriteHostEntry(const std::string& name, const std::vector<std::uint32_t>& addresses,
                           char* buffer, std::size_t length) {
    const auto base = reinterpret_cast<std::uintptr_t>(buffer);
    // Offsets are counted from the buffer's real address so that every
    // part lands aligned for its type.
    const std::size_t hostAt = AlignUp(base, alignof(HOSTENT)) - base;
    const std::size_t aliasesAt = AlignUp(base + hostAt + sizeof(HOSTENT), alignof(char*)) - base;
    const std::size_t listAt = aliasesAt + sizeof(char*);
    const std::size_t addressesAt = listAt + (addresses.size() + 1) * sizeof(char*);
    const std::size_t nameAt = addressesAt + addresses.size() * sizeof(std::uint32_t);
    const std::size_t needed = nameAt + name.size() + 1;
    if (needed > length) return needed;

    auto* host = reinterpret_cast<HOSTENT*>(buffer + hostAt);
    auto** aliases = reinterpret_cast<char**>(buffer + aliasesAt);
    auto** list = reinterpret_cast<char**>(buffer + listAt);
    char* text = buffer + nameAt;
    aliases[0] = nullptr;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        char* slot = buffer + addressesAt + i * sizeof(std::uint32_t);
        std::memcpy(slot, &addresses[i], sizeof(std::uint32_t));
        list[i] = slot;
    }
    list[addresses.size()] = nullptr;
    std::memcpy(text, name.c_str(), name.size() + 1);
    *host = HOSTENT{};
    host->h_name = text;
    host->h_aliases = aliases;
    host->h_addrtype = AF_INET;
    host->h_length = sizeof(std::uint32_t);
    host->h_addr_list = list;
    return needed;
}

void RunLookup(ASYNCHANDLE handle, std::string name) {
    std::vector<std::uint32_t> addresses;
    int error = ResolveHost(name, addresses);
    Lookup request;
    std::size_t needed = 0;
    {
        Lookups& l = lookups();
        std::lock_guard lock(l.mutex);
        const auto it = l.pending.find(handle);
        if (it == l.pending.end()) return;  // cancelled meanwhile
        request = it->second;
        l.pending.erase(it);
        if (error == 0) {
            needed = WriteHostEntry(name, addresses, request.buffer, static_cast<std::size_t>(request.length));
            if (needed > static_cast<std::size_t>(request.length)) error = WSAENOBUFS;
        }
    }
    PostMessage(request.hwnd, request.message, handle,
                WSAMAKEASYNCREPLY(static_cast<WORD>(std::min<std::size_t>(needed, 0xFFFF)), static_cast<WORD>(error)));
}

}  // namespace

ASYNCHANDLE WSAAsyncGetHostByName(HWND hwnd, UINT message, const char* name, char* buffer, int length) {
    if (!name || !buffer || length <= 0) {
        WSASetLastError(WSAEFAULT);
        return 0;
    }
    if (!IsWindow(hwnd)) {
        WSASetLastError(WSAEINVAL);
        return 0;
    }
    Lookups& l = lookups();
    ASYNCHANDLE handle;
    {
        std::lock_guard lock(l.mutex);
        handle = ++l.next;
        l.pending.emplace(handle, Lookup{hwnd, message, name, buffer, length});
    }
    try {
        std::thread(RunLookup, handle, std::string(name)).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(l.mutex);
        l.pending.erase(handle);
        WSASetLastError(WSAENOBUFS);
        return 0;
    }
    return handle;
}

int WSACancelAsyncRequest(ASYNCHANDLE handle) {
    Lookups& l = lookups();
    std::lock_guard lock(l.mutex);
    if (l.pending.erase(handle) == 0) {
        WSASetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    return 0;
}

}  // namespace platform
