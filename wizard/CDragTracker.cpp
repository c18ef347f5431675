#include "wizard/CDragTracker.h"

namespace wizard {

void CDragTracker::Press(SPoint pointer, SPoint window) {
    dragging_ = true;
    grab_ = {pointer.x - window.x, pointer.y - window.y};
}

std::optional<SPoint> CDragTracker::Move(SPoint pointer) const {
    if (!dragging_) return std::nullopt;
    return SPoint{pointer.x - grab_.x, pointer.y - grab_.y};
}

}  // namespace wizard
