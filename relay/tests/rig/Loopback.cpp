#include "rig/Loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace kvtest {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        reset(other.release());
    }
    return *this;
}

int UniqueFd::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

namespace {

// A socket bound to a port of 127.0.0.1 chosen by the system, and the port.
std::uint16_t BindAnyLoopbackPort(UniqueFd& fd) {
    fd.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        throw std::runtime_error("cannot make a socket for a free port");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot bind a free loopback port");
    }
    return ntohs(address.sin_port);
}

}  // namespace

std::uint16_t FreeLoopbackPort() {
    UniqueFd fd;
    return BindAnyLoopbackPort(fd);
}

RefusingPort::RefusingPort() : port_(BindAnyLoopbackPort(fd_)) {}

std::string LoopbackAddress(std::uint16_t port) {
    return std::string(kLoopbackHost) + ":" + std::to_string(port);
}

std::uint32_t LoopbackNetworkOrder() {
    return htonl(INADDR_LOOPBACK);
}

}  // namespace kvtest
