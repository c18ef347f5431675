#include "rig/FakeUpstream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <stdexcept>
#include <utility>

namespace kvtest {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {
constexpr std::size_t kReadChunk = 65536;
constexpr timeval kSendLimit{5, 0};
}  // namespace

// One accepted connection playing its script.
class FakeUpstream::Connection {
public:
    Connection(FakeUpstream& owner, std::size_t index, UniqueFd socket)
        : owner_(owner), index_(index), socket_(std::move(socket)) {}

    // Plays the script; true when every step ran as written.
    bool Play(const FakeScript& script) {
        for (const FakeStep& step : script.steps()) {
            if (!Run(step)) {
                return false;
            }
            if (step.kind == FakeStep::Kind::Close) {
                return true;
            }
        }
        Hold();
        return true;
    }

private:
    enum class Read { Data, Closed, Stopped, TimedOut };

    bool Run(const FakeStep& step) {
        const auto deadline = Clock::now() + kStepLimit;
        switch (step.kind) {
        case FakeStep::Kind::Expect:
            return ReadUntil(deadline, [&] { return got_.size() - consumed_ >= step.count; },
                             [&] { consumed_ += step.count; });
        case FakeStep::Kind::ExpectUntil:
            return ReadUntil(
                deadline, [&] { return got_.find(step.bytes, consumed_) != std::string::npos; },
                [&] { consumed_ = got_.find(step.bytes, consumed_) + step.bytes.size(); });
        case FakeStep::Kind::Send:
            return SendStep(step);
        case FakeStep::Kind::Silence: {
            const auto end = Clock::now() + step.gap;
            while (!clientClosed_) {
                const Read read = ReadOnce(end);
                if (read == Read::Stopped) {
                    return false;
                }
                if (read == Read::TimedOut) {
                    break;
                }
            }
            return true;
        }
        case FakeStep::Kind::Close:
            ::shutdown(socket_.get(), SHUT_RDWR);
            socket_.reset();
            return true;
        case FakeStep::Kind::EndSending:
            return ::shutdown(socket_.get(), SHUT_WR) == 0;
        case FakeStep::Kind::Echo:
            return EchoUntilClosed();
        }
        return false;
    }

    template <typename Met, typename Take>
    bool ReadUntil(Clock::time_point deadline, Met met, Take take) {
        while (!met()) {
            if (clientClosed_ || ReadOnce(deadline) != Read::Data) {
                return false;
            }
        }
        take();
        return true;
    }

    bool SendStep(const FakeStep& step) {
        const std::size_t piece = step.count == 0 ? std::max<std::size_t>(step.bytes.size(), 1) : step.count;
        for (std::size_t at = 0; at < step.bytes.size(); at += piece) {
            if (at > 0 && !Pause(step.gap)) {
                return false;
            }
            if (!SendAll(std::string_view(step.bytes).substr(at, piece))) {
                return false;
            }
        }
        return true;
    }

    bool EchoUntilClosed() {
        const auto deadline = Clock::now() + kHoldLimit;
        for (;;) {
            if (consumed_ < got_.size()) {
                const std::string pending = got_.substr(consumed_);
                consumed_ = got_.size();
                if (!SendAll(pending)) {
                    return false;
                }
            }
            if (clientClosed_) {
                return true;
            }
            const Read read = ReadOnce(deadline);
            if (read == Read::Stopped || read == Read::TimedOut) {
                return read == Read::TimedOut;
            }
        }
    }

    void Hold() {
        const auto deadline = Clock::now() + kHoldLimit;
        while (socket_ && !clientClosed_ && ReadOnce(deadline) == Read::Data) {
        }
    }

    // Waits for the gap unless the fake stops first.
    bool Pause(std::chrono::milliseconds gap) {
        pollfd wake{owner_.wake_.get(), POLLIN, 0};
        return ::poll(&wake, 1, static_cast<int>(gap.count())) == 0;
    }

    bool SendAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t sent = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent < 0 && errno == EINTR) {
                continue;
            }
            if (sent <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    Read ReadOnce(Clock::time_point deadline) {
        if (!socket_) {
            return Read::Closed;
        }
        pollfd fds[2];
        int ready;
        do {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            fds[0] = {socket_.get(), POLLIN, 0};
            fds[1] = {owner_.wake_.get(), POLLIN, 0};
            ready = ::poll(fds, 2, static_cast<int>(std::max<long>(left.count(), 0)));
        } while (ready < 0 && errno == EINTR);
        if (fds[1].revents != 0) {
            return Read::Stopped;
        }
        if (ready <= 0) {
            return Read::TimedOut;
        }
        char buffer[kReadChunk];
        const ssize_t got = ::recv(socket_.get(), buffer, sizeof buffer, 0);
        if (got <= 0) {
            clientClosed_ = true;
            owner_.Update(index_, [](FakeSession& s) { s.clientClosed = true; });
            return Read::Closed;
        }
        got_.append(buffer, static_cast<std::size_t>(got));
        const std::string chunk(buffer, static_cast<std::size_t>(got));
        owner_.Update(index_, [&](FakeSession& s) { s.received += chunk; });
        return Read::Data;
    }

    FakeUpstream& owner_;
    std::size_t index_;
    UniqueFd socket_;
    std::string got_;
    std::size_t consumed_ = 0;
    bool clientClosed_ = false;
};

FakeUpstream::FakeUpstream(FakeScript script) : FakeUpstream(std::vector<FakeScript>{std::move(script)}) {}

FakeUpstream::FakeUpstream(std::vector<FakeScript> scripts) : scripts_(std::move(scripts)) {
    if (scripts_.empty()) {
        scripts_.emplace_back();
    }
    listener_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    wake_.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (!listener_ || !wake_ ||
        ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_.get(), 16) != 0 ||
        ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("the fake upstream cannot listen on loopback");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

FakeUpstream::~FakeUpstream() {
    Stop();
}

void FakeUpstream::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) {
            return;
        }
        stopped_ = true;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
    acceptor_.join();
    // The acceptor has ended, so nobody adds workers any more.
    for (std::thread& worker : workers_) {
        worker.join();
    }
    listener_.reset();
}

void FakeUpstream::AcceptLoop() {
    for (;;) {
        pollfd fds[2] = {{listener_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client) {
            continue;
        }
        ::setsockopt(client.get(), SOL_SOCKET, SO_SNDTIMEO, &kSendLimit, sizeof kSendLimit);
        std::lock_guard lock(mutex_);
        if (sessions_.size() >= kMaxSessions) {
            continue;
        }
        FakeSession session;
        session.acceptedAt = Clock::now();
        sessions_.push_back(session);
        const std::size_t index = sessions_.size() - 1;
        workers_.emplace_back([this, index, socket = std::move(client)]() mutable {
            Serve(index, std::move(socket));
        });
        changed_.notify_all();
    }
}

void FakeUpstream::Serve(std::size_t index, UniqueFd socket) {
    const FakeScript& script = scripts_[std::min(index, scripts_.size() - 1)];
    bool completed = false;
    {
        Connection connection(*this, index, std::move(socket));
        completed = connection.Play(script);
    }
    Update(index, [&](FakeSession& s) {
        s.scriptCompleted = completed;
        s.finished = true;
    });
}

void FakeUpstream::Update(std::size_t index, const std::function<void(FakeSession&)>& change) {
    std::lock_guard lock(mutex_);
    change(sessions_[index]);
    changed_.notify_all();
}

std::vector<FakeSession> FakeUpstream::Sessions() const {
    std::lock_guard lock(mutex_);
    return sessions_;
}

bool FakeUpstream::WaitAccepted(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return sessions_.size() >= count; });
}

bool FakeUpstream::WaitFinished(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] {
        return std::count_if(sessions_.begin(), sessions_.end(),
                             [](const FakeSession& s) { return s.finished; }) >=
               static_cast<std::ptrdiff_t>(count);
    });
}

}  // namespace kvtest
