#pragma once
// The controls of a top-level window as the toolkit has really laid them
// out and drawn them (GTK allocations and mapped states, not wx's stored
// sizes): each one's rectangle, its paint order among its siblings and the
// texts it draws, all in the top-level window's coordinates.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ScreenRect.h"

class wxWindow;
class wxTopLevelWindow;

namespace kvtest {

struct SControlText {
    std::string text;
    SScreenRect ink;  // where the glyphs' pixels fall, unclipped
    int lines = 1;
    bool ellipsized = false;
};

struct SControl {
    const wxWindow* window = nullptr;
    int parent = -1;  // index in SWindowLayout::controls; -1 for the top-level's own children
    // The toolkit container that clips the control, and its place there:
    // a later sibling paints over an earlier one.
    const void* container = nullptr;
    SScreenRect containerArea;
    int paintOrder = 0;
    SScreenRect rect;
    bool mapped = false;
    // A label, check or radio box, group box or a plain container: it paints
    // only its text and marks unless it has a background colour of its own.
    bool drawsOnlyContent = false;
    bool ownBackground = false;
    std::vector<SControlText> texts;
    std::vector<SScreenRect> marks;  // the box or dot of a check or radio box
    std::vector<int> children;
};

struct SWindowLayout {
    std::uint32_t xWindow = 0;  // 0: never realized
    SScreenRect client;         // the client area
    std::vector<SControl> controls;  // every parent before its children
};

SWindowLayout ReadLayout(const wxTopLevelWindow& window);

// The window's X window; 0 while it has none (never shown).
std::uint32_t XWindowOf(const wxTopLevelWindow& window);

// "wxCheckBox 'Use a proxy' (id 1012, name "check")".
std::string Describe(const wxWindow& window);

// 'text' on one line, long ones shortened: for messages.
std::string Quoted(std::string_view text);

}  // namespace kvtest
