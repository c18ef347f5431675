#include "wizard/CPageLoop.h"

namespace wizard {

void CPageLoop::Begin() {
    running_ = true;
    childOpen_ = false;
    pending_.reset();
}

bool CPageLoop::RequestEnd(int result) {
    if (!running_) return false;
    if (childOpen_) {
        if (!pending_) pending_ = result;
        return false;
    }
    running_ = false;
    return true;
}

void CPageLoop::ChildOpened() { childOpen_ = true; }

std::optional<int> CPageLoop::ChildClosed() {
    childOpen_ = false;
    if (!pending_ || !running_) return std::nullopt;
    const int result = *pending_;
    pending_.reset();
    running_ = false;
    return result;
}

}  // namespace wizard
