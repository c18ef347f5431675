#pragma once
// A tree control as the engine fills it: the control panel adapts its tree
// controls to this, so the engine never includes the UI toolkit.

#include <cstdint>

class ITreeSink {
public:
    using Handle = std::uintptr_t;
    // The parent of the top-level items.
    static constexpr Handle kRoot = 0;

    virtual ~ITreeSink() = default;

    // A text-only item, last under parent; returns its handle.
    virtual Handle InsertItem(Handle parent, const char* text) = 0;
    virtual void DeleteAllItems() = 0;
};
