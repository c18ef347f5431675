#pragma once
// Where a rounded group box leaves the gap for its caption on the top
// edge, and the colour of its frame, apart from any window.

#include <optional>

#include "controls/ColourRef.h"
#include "platform/Types.h"

class CRoundGroupBoxLayout {
public:
    static constexpr platform::DWORD BS_LEFT = 0x100;
    static constexpr platform::DWORD BS_RIGHT = 0x200;
    static constexpr platform::DWORD BS_CENTER = 0x300;
    static constexpr platform::DWORD BS_FLAT = 0x8000;
    static constexpr platform::DWORD kNoCaptionExStyles = 0xC0;
    static constexpr COLORREF kMixedChainFrame = RGB(0xC0, 0xC0, 0xC0);
    static constexpr COLORREF kSingleChainFrame = 0xFAEC9B;
    static constexpr COLORREF kCaptionColour = 0x7A5C01;

    struct Gap {
        int from = 0;
        int to = 0;
    };

    // The caption gap between left and right for a caption textWidth wide;
    // nothing when the caption is empty (an unbroken top edge).
    static std::optional<Gap> CaptionGap(platform::DWORD style, int left, int right, int textWidth,
                                         bool emptyText);
    static COLORREF FrameColour(bool mixedChainsAllowed);
};
