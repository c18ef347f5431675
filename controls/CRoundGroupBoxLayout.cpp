#include "controls/CRoundGroupBoxLayout.h"

std::optional<CRoundGroupBoxLayout::Gap> CRoundGroupBoxLayout::CaptionGap(platform::DWORD style, int left,
                                                                          int right, int textWidth,
                                                                          bool emptyText) {
    if (emptyText) {
        return std::nullopt;
    }
    switch (style & BS_CENTER) {
    case BS_RIGHT:
        return Gap{right - 10 - textWidth, right - 10};
    case BS_CENTER: {
        const int from = left + (right - left - textWidth) / 2;
        return Gap{from, from + textWidth};
    }
    default:
        return Gap{left + 10, left + 10 + textWidth};
    }
}

COLORREF CRoundGroupBoxLayout::FrameColour(bool mixedChainsAllowed) {
    return mixedChainsAllowed ? kMixedChainFrame : kSingleChainFrame;
}
