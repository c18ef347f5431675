#include "support/MessagePump.h"

#include <poll.h>

#include <chrono>

#include "platform/Messages.h"

namespace kvtest {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        platform::MSG msg;
        while (platform::PeekMessage(msg)) {
            platform::DispatchMessage(msg);
            if (done && done()) return true;
        }
        if (done && done()) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{platform::GetMessageQueueFd(), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

void PumpFor(int ms) {
    PumpUntil(nullptr, ms);
}

}  // namespace kvtest
