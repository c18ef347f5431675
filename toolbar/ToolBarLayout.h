#pragma once
// Where the toolbar's items go: left to right from the layout origin, each
// starting where the one before it ends.

#include <array>
#include <vector>

#include "toolbar/CKVDeskInfo.h"

enum class ToolBarItemKind { HoverButton, Separator, ImageList, Label };

struct ToolBarItem {
    ToolBarItemKind kind = ToolBarItemKind::HoverButton;
    // The control id; for a button pair altId is the second look's, shown
    // at the same place (0 for a single item).
    int id = 0;
    int altId = 0;
    // What the item posts with WM_BAND_BUTTON when clicked.
    int command = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Hover buttons: normal, hover, pressed, disabled; image-list buttons:
    // normal, pressed, disabled (0 for the animations, which load frames).
    std::array<int, 4> pictures{};
    std::array<int, 4> altPictures{};
};

// What the two totals labels need to show their widest text ("4096.0 MB")
// in their font. The table's place (40 pixels wide, from 7 below the
// origin down to y 20) is the least they get; a label that needs more
// grows to the right (the items after it move on) and upwards from its
// bottom line.
struct ToolBarLabelSize {
    int width = 0;
    int height = 0;
};

// The items of a toolbar whose origin is (originX, originY); the switches
// only as info enables them.
std::vector<ToolBarItem> ToolBarLayout(int originX, int originY, const CKVDeskInfo& info,
                                       ToolBarLabelSize labels = {});
