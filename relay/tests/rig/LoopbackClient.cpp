#include "rig/LoopbackClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace kvtest {
using Clock = std::chrono::steady_clock;

namespace {
// Waits for events on fd until the deadline; false on time-out.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0;
    }
}
}  // namespace

bool LoopbackClient::Connect(std::uint16_t port, std::chrono::milliseconds limit) {
    socket_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket_) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS || !WaitFor(socket_.get(), POLLOUT, Clock::now() + limit)) {
            socket_.reset();
            return false;
        }
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            socket_.reset();
            return false;
        }
    }
    return true;
}

bool LoopbackClient::SendAll(std::string_view bytes, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!bytes.empty() && socket_) {
        const ssize_t sent = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && errno == EAGAIN) {
            if (!WaitFor(socket_.get(), POLLOUT, deadline)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return bytes.empty();
}

bool LoopbackClient::EndSending() { return socket_ && ::shutdown(socket_.get(), SHUT_WR) == 0; }

LoopbackClient::Read LoopbackClient::ReadSome(std::string& out, std::chrono::milliseconds limit,
                                              std::size_t maxBytes) {
    if (!socket_) {
        return Read::Error;
    }
    if (!WaitFor(socket_.get(), POLLIN, Clock::now() + limit)) {
        return Read::TimedOut;
    }
    std::vector<char> buffer(std::max<std::size_t>(maxBytes, 1));
    ssize_t got;
    do {
        got = ::recv(socket_.get(), buffer.data(), buffer.size(), 0);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        out.append(buffer.data(), static_cast<std::size_t>(got));
        return Read::Data;
    }
    return got == 0 ? Read::Closed : Read::Error;
}

std::string LoopbackClient::ReadUntilClosed(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::string all;
    while (Clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (ReadSome(all, left) != Read::Data) {
            break;
        }
    }
    return all;
}

}  // namespace kvtest
