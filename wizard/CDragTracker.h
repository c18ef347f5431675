#pragma once
// Dragging a page by any point of its body: the window follows the pointer
// from where it was pressed, in screen coordinates.

#include <optional>

#include "wizard/PageGeometry.h"

namespace wizard {

class CDragTracker {
public:
    void Press(SPoint pointer, SPoint window);
    // Where the window goes for the pointer now; nothing when not dragging.
    std::optional<SPoint> Move(SPoint pointer) const;
    void Release() { dragging_ = false; }
    bool IsDragging() const { return dragging_; }

private:
    bool dragging_ = false;
    SPoint grab_;  // the pointer's offset from the window's corner
};

}  // namespace wizard
