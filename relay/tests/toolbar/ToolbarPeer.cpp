#include "toolbar/ToolbarPeer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tbtest {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

Notice MakeNotice(std::uint8_t type, std::uint32_t value) {
    return {type, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

ToolbarPeer::ToolbarPeer(std::uint16_t port, int receiveBuffer) {
    kvtest::UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    if (!fd) return;
    if (receiveBuffer > 0) ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return;
    fd_ = std::move(fd);
}

bool ToolbarPeer::Send(const std::vector<std::uint8_t>& bytes) {
    return fd_ && ::send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

std::vector<Notice> ToolbarPeer::Read(std::size_t count, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (fd_ && pending_.size() < count * 5) {
        pollfd p{fd_.get(), POLLIN, 0};
        if (::poll(&p, 1, MsLeft(deadline)) <= 0) break;
        char bytes[4096];
        const ssize_t got = ::recv(fd_.get(), bytes, sizeof bytes, 0);
        if (got <= 0) break;
        pending_.append(bytes, static_cast<std::size_t>(got));
    }
    std::vector<Notice> notices;
    while (notices.size() < count && pending_.size() >= 5) {
        Notice n;
        for (int i = 0; i < 5; ++i) n[i] = static_cast<std::uint8_t>(pending_[i]);
        pending_.erase(0, 5);
        notices.push_back(n);
    }
    return notices;
}

bool ToolbarPeer::ClosedWithoutBytes(std::chrono::milliseconds limit) {
    bool closed = false;
    const std::string rest = ReadUntilClosed(closed, limit);
    return closed && rest.empty();
}

std::string ToolbarPeer::ReadUntilClosed(bool& closed, std::chrono::milliseconds limit) {
    closed = false;
    std::string all = std::move(pending_);
    pending_.clear();
    const auto deadline = Clock::now() + limit;
    while (fd_) {
        pollfd p{fd_.get(), POLLIN, 0};
        if (::poll(&p, 1, MsLeft(deadline)) <= 0) break;
        char bytes[65536];
        const ssize_t got = ::recv(fd_.get(), bytes, sizeof bytes, 0);
        if (got <= 0) {
            closed = true;
            break;
        }
        all.append(bytes, static_cast<std::size_t>(got));
    }
    return all;
}

}  // namespace tbtest
