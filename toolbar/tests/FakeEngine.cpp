#include "FakeEngine.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <set>
#include <utility>

namespace tbtest {

namespace {

int Ms(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool Readable(int fd, std::chrono::steady_clock::time_point deadline) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, Ms(deadline)) > 0;
}

}  // namespace

FakeEngine::FakeEngine() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(listener_, 5) == 0 &&
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port_ = ntohs(address.sin_port);
    }
}

FakeEngine::~FakeEngine() {
    CloseConnection();
    CloseListener();
}

bool FakeEngine::Accept(std::chrono::milliseconds limit) {
    CloseConnection();
    if (listener_ < 0 || !Readable(listener_, std::chrono::steady_clock::now() + limit)) return false;
    connection_ = ::accept(listener_, nullptr, nullptr);
    return connection_ >= 0;
}

std::vector<std::uint8_t> FakeEngine::Read(std::size_t n, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<std::uint8_t> bytes;
    while (connection_ >= 0 && bytes.size() < n && Readable(connection_, deadline)) {
        std::uint8_t chunk[256];
        const ssize_t got = ::recv(connection_, chunk, std::min(sizeof chunk, n - bytes.size()), 0);
        if (got <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

bool FakeEngine::SeesClose(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (connection_ >= 0 && Readable(connection_, deadline)) {
        std::uint8_t chunk[256];
        if (::recv(connection_, chunk, sizeof chunk, 0) <= 0) return true;
    }
    return false;
}

bool FakeEngine::Send(const std::vector<std::uint8_t>& bytes) {
    return connection_ >= 0 &&
           ::send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

void FakeEngine::CloseConnection() {
    if (connection_ >= 0) ::close(connection_);
    connection_ = -1;
}

void FakeEngine::CloseListener() {
    if (listener_ >= 0) ::close(listener_);
    listener_ = -1;
}

testing::AssertionResult ReadsStateQueries(FakeEngine& engine) {
    using Request = std::pair<std::uint8_t, std::uint8_t>;
    const std::set<Request> queries = {{0, 10}, {0, 11}, {0, 12}, {0, 3}};
    constexpr std::size_t kRound = 8;
    std::vector<std::uint8_t> got = engine.Read(kRound);
    while (got.size() < 2 * kRound) {
        const std::vector<std::uint8_t> more = engine.Read(2 * kRound - got.size(), std::chrono::milliseconds(300));
        if (more.empty()) break;
        got.insert(got.end(), more.begin(), more.end());
    }
    if (got.size() % 2 != 0) return testing::AssertionFailure() << "half a request in " << got.size() << " bytes";
    std::set<Request> seen;
    for (std::size_t i = 0; i < got.size(); i += 2) {
        const Request request{got[i], got[i + 1]};
        if (!queries.count(request)) {
            return testing::AssertionFailure() << "not a query: " << int(request.first) << " " << int(request.second);
        }
        seen.insert(request);
    }
    if (seen != queries) return testing::AssertionFailure() << "only " << seen.size() << " of the four queries";
    return testing::AssertionSuccess();
}

}  // namespace tbtest
