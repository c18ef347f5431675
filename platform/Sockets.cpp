#include "platform/Sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>

#include "platform/SocketCloser.h"
#include "platform/SocketWatch.h"

namespace platform {

namespace {

// A socket must never be descriptor 0 (the engine treats 0 as "no
// socket"), so the standard descriptors are kept open from the moment this
// library is loaded.
const bool kStandardDescriptorsKept = [] {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
    return true;
}();

thread_local int tlsLastError = 0;

int Fail(int wsaError) {
    tlsLastError = wsaError;
    return SOCKET_ERROR;
}

int FailErrno() {
    return Fail(WSAErrorFromErrno(errno));
}

// Moves a new descriptor above the standard ones should they have been
// closed since load.
SOCKET AboveStandard(SOCKET s) {
    if (s < 0 || s > 2) return s;
    const int moved = ::fcntl(s, F_DUPFD_CLOEXEC, 3);
    ::close(s);
    return moved;
}

bool IsStream(SOCKET s) {
    int type = 0;
    socklen_t length = sizeof type;
    return ::getsockopt(s, SOL_SOCKET, SO_TYPE, &type, &length) == 0 && type == SOCK_STREAM;
}

bool NamesPort(const sockaddr* address, int length) {
    if (!address || length < static_cast<int>(sizeof(sockaddr_in)) || address->sa_family != AF_INET) return true;
    return reinterpret_cast<const sockaddr_in*>(address)->sin_port != 0;
}

bool IsTimeOption(int level, int name) {
    return level == SOL_SOCKET && (name == SO_RCVTIMEO || name == SO_SNDTIMEO);
}

struct ResolverSlot {
    std::mutex mutex;
    HostResolver resolver;
};

ResolverSlot& resolverSlot() {
    static ResolverSlot* slot = new ResolverSlot;
    return *slot;
}

std::atomic<bool> gLoopbackOnly{false};

bool IsLoopbackAddress(std::uint32_t networkOrder) { return (ntohl(networkOrder) >> 24) == 127; }

int SystemResolve(const std::string& name, std::vector<std::uint32_t>& addresses) {
    if (gLoopbackOnly.load()) {
        in_addr dotted{};
        if (::inet_pton(AF_INET, name.c_str(), &dotted) == 1) {
            addresses.push_back(dotted.s_addr);
            return 0;
        }
        if (name != "localhost") return WSAHOST_NOT_FOUND;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    switch (rc) {
    case 0:
        break;
    case EAI_AGAIN:
        return WSATRY_AGAIN;
    case EAI_NODATA:
        return WSANO_DATA;
    case EAI_NONAME:
        return WSAHOST_NOT_FOUND;
    default:
        return WSANO_RECOVERY;
    }
    for (const addrinfo* a = found; a; a = a->ai_next) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        const std::uint32_t address = in->sin_addr.s_addr;
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    return addresses.empty() ? WSANO_DATA : 0;
}

}  // namespace

int WSAErrorFromErrno(int err) {
    switch (err) {
    case 0: return 0;
    case EINTR: return WSAEINTR;
    case EBADF: return WSAENOTSOCK;
    case EACCES: case EPERM: return WSAEACCES;
    case EFAULT: return WSAEFAULT;
    case EINVAL: return WSAEINVAL;
    case EMFILE: case ENFILE: return WSAEMFILE;
    case EAGAIN: case EINPROGRESS: return WSAEWOULDBLOCK;
    case EALREADY: return WSAEALREADY;
    case ENOTSOCK: return WSAENOTSOCK;
    case EDESTADDRREQ: return WSAEDESTADDRREQ;
    case EMSGSIZE: return WSAEMSGSIZE;
    case EPROTOTYPE: return WSAEPROTOTYPE;
    case ENOPROTOOPT: return WSAENOPROTOOPT;
    case EPROTONOSUPPORT: return WSAEPROTONOSUPPORT;
    case ESOCKTNOSUPPORT: return WSAESOCKTNOSUPPORT;
    case EOPNOTSUPP: return WSAEOPNOTSUPP;
    case EPFNOSUPPORT: return WSAEPFNOSUPPORT;
    case EAFNOSUPPORT: return WSAEAFNOSUPPORT;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case ENETRESET: return WSAENETRESET;
    case ECONNABORTED: return WSAECONNABORTED;
    case ECONNRESET: case EPIPE: return WSAECONNRESET;
    case ENOBUFS: case ENOMEM: return WSAENOBUFS;
    case EISCONN: return WSAEISCONN;
    case ENOTCONN: return WSAENOTCONN;
    case ESHUTDOWN: return WSAESHUTDOWN;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case EHOSTDOWN: return WSAEHOSTDOWN;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    default: return WSABASEERR + err;
    }
}

int WSAGetLastError() {
    return tlsLastError;
}

void WSASetLastError(int error) {
    tlsLastError = error;
}

int WSAStartup(WORD requested, WSADATA* data) {
    const int major = requested & 0xFF;
    const int minor = requested >> 8;
    const WORD highest = MAKEWORD(2, 2);
    if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
    const bool above = major > 2 || (major == 2 && minor > 2);
    if (data) {
        data->wVersion = above ? highest : requested;
        data->wHighVersion = highest;
    }
    return 0;
}

int WSACleanup() {
    return 0;
}

SOCKET socket(int af, int type, int protocol) {
    const SOCKET s = AboveStandard(::socket(af, type | SOCK_CLOEXEC, protocol));
    if (s < 0) return FailErrno();
    detail::WatchNewDescriptor(s);
    return s;
}

int closesocket(SOCKET s) {
    if (detail::WatchClosing(s)) {
        // A connected socket ends its stream in the background, as the
        // system does with the bytes still unsent after a close.
        detail::CloseInBackground(s);
        return 0;
    }
    if (::close(s) != 0) return FailErrno();
    return 0;
}

int bind(SOCKET s, const sockaddr* address, int length) {
    // A named port may still be held by an earlier listener's connections
    // in TIME_WAIT. Port 0 always gets a free one; a listener on it is
    // marked reusable in listen, for the next run that names the port.
    if (NamesPort(address, length) && IsStream(s)) {
        const int on = 1;
        ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (::bind(s, address, static_cast<socklen_t>(length)) != 0) return FailErrno();
    return 0;
}

int ListenBacklog(int requested) {
    // Read once: the system's limit does not change under a running program.
    static const int kSystemMaximum = [] {
        int value = SOMAXCONN;
        if (std::FILE* f = std::fopen("/proc/sys/net/core/somaxconn", "r")) {
            if (std::fscanf(f, "%d", &value) != 1 || value < 1) value = SOMAXCONN;
            std::fclose(f);
        }
        return value;
    }();
    return std::max(requested, kSystemMaximum);
}

int listen(SOCKET s, int backlog) {
    // Its connections inherit the mark, so that their TIME_WAIT does not
    // keep the next listener off the port.
    const int on = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::listen(s, ListenBacklog(backlog)) != 0) return FailErrno();
    detail::WatchListening(s);
    return 0;
}

SOCKET accept(SOCKET s, sockaddr* address, int* length) {
    socklen_t size = length ? static_cast<socklen_t>(*length) : 0;
    // The new socket blocks as the listener does (as with Winsock).
    bool nonBlocking = detail::WatchKnowsNonBlocking(s);
    if (!nonBlocking) {
        const int flags = ::fcntl(s, F_GETFL);
        nonBlocking = flags >= 0 && (flags & O_NONBLOCK);
    }
    const SOCKET accepted =
        ::accept4(s, address, length ? &size : nullptr, SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0));
    const int err = errno;
    if (accepted < 0) {
        detail::WatchAfterAccept(s, INVALID_SOCKET, false);
        return Fail(WSAErrorFromErrno(err));
    }
    if (length) *length = static_cast<int>(size);
    const SOCKET result = AboveStandard(accepted);
    detail::WatchAfterAccept(s, result, nonBlocking);
    if (result < 0) return FailErrno();
    return result;
}

int connect(SOCKET s, const sockaddr* address, int length) {
    if (gLoopbackOnly.load() && address && address->sa_family == AF_INET &&
        !IsLoopbackAddress(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr)) {
        return Fail(WSAENETUNREACH);
    }
    if (::connect(s, address, static_cast<socklen_t>(length)) == 0) {
        detail::WatchConnectStarted(s, false);
        return 0;
    }
    const int err = errno;
    if (err == EINPROGRESS) detail::WatchConnectStarted(s, true);
    return Fail(WSAErrorFromErrno(err));
}

int recv(SOCKET s, char* buffer, int length, int flags) {
    const ssize_t n = ::recv(s, buffer, static_cast<std::size_t>(std::max(length, 0)), flags);
    const int err = errno;
    const bool drained = !(flags & MSG_PEEK) && (n < 0 ? err == EAGAIN || err == EWOULDBLOCK : n < length);
    detail::WatchAfterRecv(s, drained);
    if (n < 0) return Fail(WSAErrorFromErrno(err));
    return static_cast<int>(n);
}

int send(SOCKET s, const char* buffer, int length, int flags) {
    const ssize_t n = ::send(s, buffer, static_cast<std::size_t>(std::max(length, 0)), flags | MSG_NOSIGNAL);
    if (n >= 0) return static_cast<int>(n);
    const int err = errno;
    if (err == EAGAIN || err == EWOULDBLOCK) detail::WatchSendBlocked(s);
    return Fail(WSAErrorFromErrno(err));
}

int shutdown(SOCKET s, int how) {
    // The end of a connected stream goes out in the background, in order
    // with the socket's close (see closesocket).
    if (how == SD_SEND && detail::WatchIsConnected(s)) {
        detail::ShutDownSendingInBackground(s);
        return 0;
    }
    if (::shutdown(s, how) != 0) return FailErrno();
    return 0;
}

int ioctlsocket(SOCKET s, unsigned long command, DWORD* argument) {
    if (!argument) return Fail(WSAEFAULT);
    if (command == FIONREAD) {
        int waiting = 0;
        if (::ioctl(s, FIONREAD, &waiting) != 0) return FailErrno();
        *argument = static_cast<DWORD>(waiting);
        return 0;
    }
    if (command == FIONBIO) {
        int on = *argument != 0 ? 1 : 0;
        if (::ioctl(s, FIONBIO, &on) != 0) return FailErrno();
        detail::WatchNonBlocking(s, *argument != 0);
        return 0;
    }
    return Fail(WSAEINVAL);
}

int getsockopt(SOCKET s, int level, int name, char* value, int* length) {
    if (!value || !length) return Fail(WSAEFAULT);
    if (IsTimeOption(level, name)) {
        if (*length < static_cast<int>(sizeof(DWORD))) return Fail(WSAEFAULT);
        timeval tv{};
        socklen_t size = sizeof tv;
        if (::getsockopt(s, level, name, &tv, &size) != 0) return FailErrno();
        const DWORD ms = static_cast<DWORD>(tv.tv_sec * 1000 + tv.tv_usec / 1000);
        std::copy_n(reinterpret_cast<const char*>(&ms), sizeof ms, value);
        *length = sizeof ms;
        return 0;
    }
    socklen_t size = static_cast<socklen_t>(*length);
    if (::getsockopt(s, level, name, value, &size) != 0) return FailErrno();
    *length = static_cast<int>(size);
    if (level == SOL_SOCKET && name == SO_ERROR && size >= sizeof(int)) {
        int err = 0;
        std::copy_n(value, sizeof err, reinterpret_cast<char*>(&err));
        err = WSAErrorFromErrno(err);
        std::copy_n(reinterpret_cast<const char*>(&err), sizeof err, value);
    }
    return 0;
}

int setsockopt(SOCKET s, int level, int name, const char* value, int length) {
    if (!value) return Fail(WSAEFAULT);
    if (IsTimeOption(level, name)) {
        if (length < static_cast<int>(sizeof(DWORD))) return Fail(WSAEFAULT);
        DWORD ms = 0;
        std::copy_n(value, sizeof ms, reinterpret_cast<char*>(&ms));
        const timeval tv{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
        if (::setsockopt(s, level, name, &tv, sizeof tv) != 0) return FailErrno();
        return 0;
    }
    if (::setsockopt(s, level, name, value, static_cast<socklen_t>(length)) != 0) return FailErrno();
    return 0;
}

int getpeername(SOCKET s, sockaddr* address, int* length) {
    if (!length) return Fail(WSAEFAULT);
    socklen_t size = static_cast<socklen_t>(*length);
    if (::getpeername(s, address, &size) != 0) return FailErrno();
    *length = static_cast<int>(size);
    return 0;
}

int getsockname(SOCKET s, sockaddr* address, int* length) {
    if (!length) return Fail(WSAEFAULT);
    socklen_t size = static_cast<socklen_t>(*length);
    if (::getsockname(s, address, &size) != 0) return FailErrno();
    *length = static_cast<int>(size);
    return 0;
}

std::uint32_t inet_addr(const char* text) {
    if (!text) return INADDR_NONE_VALUE;
    return ::inet_addr(text);
}

const char* inet_ntoa(in_addr address) {
    thread_local char text[INET_ADDRSTRLEN];
    return ::inet_ntop(AF_INET, &address, text, sizeof text);
}

namespace sockets_test {

void RestrictToLoopback() { gLoopbackOnly.store(true); }
bool IsRestrictedToLoopback() { return gLoopbackOnly.load(); }

bool IsLoopbackHost(std::string_view host) {
    if (host == "localhost") return true;
    in_addr dotted{};
    const std::string text(host);
    return ::inet_pton(AF_INET, text.c_str(), &dotted) == 1 && IsLoopbackAddress(dotted.s_addr);
}

}  // namespace sockets_test

HostResolver SetHostResolver(HostResolver resolver) {
    ResolverSlot& slot = resolverSlot();
    std::lock_guard lock(slot.mutex);
    HostResolver previous = std::move(slot.resolver);
    slot.resolver = std::move(resolver);
    return previous;
}

int ResolveHost(const std::string& name, std::vector<std::uint32_t>& addresses) {
    addresses.clear();
    HostResolver resolver;
    {
        ResolverSlot& slot = resolverSlot();
        std::lock_guard lock(slot.mutex);
        resolver = slot.resolver;
    }
    return resolver ? resolver(name, addresses) : SystemResolve(name, addresses);
}

const HOSTENT* gethostbyname(const char* name) {
    struct Entry {
        std::string name;
        std::vector<std::uint32_t> addresses;
        std::vector<char*> list;
        char* noAliases = nullptr;
        HOSTENT host{};
    };
    thread_local Entry entry;
    if (!name) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    entry.name = name;
    if (const int error = ResolveHost(entry.name, entry.addresses); error != 0) {
        WSASetLastError(error);
        return nullptr;
    }
    entry.list.clear();
    for (auto& address : entry.addresses) entry.list.push_back(reinterpret_cast<char*>(&address));
    entry.list.push_back(nullptr);
    entry.host.h_name = entry.name.data();
    entry.host.h_aliases = &entry.noAliases;
    entry.host.h_addrtype = AF_INET;
    entry.host.h_length = sizeof(std::uint32_t);
    entry.host.h_addr_list = entry.list.data();
    return &entry.host;
}

}  // namespace platform
